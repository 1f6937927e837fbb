// The Python class Bar: one OHLCV bar, immutable once made.
#pragma once

#include "class.hpp"
#include "model/series/data.hpp"

namespace qcpy {

struct BarClass {
  using Value = qc::model::Bar;
  static constexpr const char* name = "Bar";
  static constexpr const char* doc = "A single OHLCV bar representing one time period of price data.";
  static ClassSpec spec();
};

}  // namespace qcpy
