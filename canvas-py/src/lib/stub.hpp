// The module's type stub (PEP 561), written from the same class specs and rows as the classes themselves.
#pragma once

#include <string>

#include "class.hpp"

namespace qcpy {

// The stub's opening: imports and the aliases the parameter annotations name, then `__all__` and the
// module functions as given.
std::string stub_header(const std::string& all_names, const std::string& functions);

// One class: its constructor, properties and methods, in table order.
void append_class_stub(std::string& out, const ClassSpec& spec);

}  // namespace qcpy
