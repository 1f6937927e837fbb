// The Python class ChartConfig: an opaque holder of a default chart configuration.
#pragma once

#include "api/config.hpp"
#include "class.hpp"

namespace qcpy {

struct ChartConfigClass {
  using Value = qc::api::ChartConfig;
  static constexpr const char* name = "ChartConfig";
  static constexpr const char* doc = nullptr;
  static ClassSpec spec();
};

}  // namespace qcpy
