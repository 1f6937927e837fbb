// The Python class ChartConfig: an opaque holder of a default chart configuration.
#pragma once

#include "api/config.hpp"
#include <string>
#include <string_view>

#include "class.hpp"

namespace qcpy {

struct ChartConfigClass {
  using Value = qc::api::ChartConfig;
  static constexpr const char* name = "ChartConfig";
  static constexpr const char* doc = nullptr;
  static ClassSpec spec();
  // The pickled state (see pickle.hpp).
  static std::string state(const Value& v);
  static Value from_state(std::string_view state);
};

}  // namespace qcpy
