// The Python class Viewport: bar geometry of a view, standalone from charts.
#pragma once

#include "api/viewport.hpp"
#include <string>
#include <string_view>

#include "class.hpp"

namespace qcpy {

struct ViewportClass {
  using Value = qc::api::Viewport;
  static constexpr const char* name = "Viewport";
  static constexpr const char* doc = nullptr;
  static ClassSpec spec();
  // The pickled state (see pickle.hpp).
  static std::string state(const Value& v);
  static Value from_state(std::string_view state);
};

}  // namespace qcpy
