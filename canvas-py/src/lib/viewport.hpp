// The Python class Viewport: bar geometry of a view, standalone from charts.
#pragma once

#include "api/viewport.hpp"
#include "class.hpp"

namespace qcpy {

struct ViewportClass {
  using Value = qc::api::Viewport;
  static constexpr const char* name = "Viewport";
  static constexpr const char* doc = nullptr;
  static ClassSpec spec();
};

}  // namespace qcpy
