// The Python class Bar: one OHLCV bar, immutable once made.
#pragma once

#include <string>
#include <string_view>

#include "class.hpp"
#include "model/series/data.hpp"

namespace qcpy {

struct BarClass {
  using Value = qc::model::Bar;
  static constexpr const char* name = "Bar";
  static constexpr const char* doc = "A single OHLCV bar representing one time period of price data.";
  static ClassSpec spec();
  // The pickled state (see pickle.hpp).
  static std::string state(const Value& v);
  static Value from_state(std::string_view state);
};

}  // namespace qcpy
