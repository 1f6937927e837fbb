// The module's own functions, declared through rows as the classes' methods are.
#pragma once

#include "class.hpp"

namespace qcpy {

// The rows' class: none, so that errors name a function alone ("save_pdf()").
struct ModuleFunctions {
  using Value = int;
  static constexpr const char* name = "";
};

// save_pdf (figure_pdf.cpp).
MethodGroup save_pdf_functions();

}  // namespace qcpy
