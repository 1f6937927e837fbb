// One OHLCV bar: the unit of series data every chart is built from.
#pragma once

#include <cstdint>

namespace qc::model {

struct Bar {
  std::int64_t timestamp = 0;  // seconds since 1970-01-01 (UTC)
  double open = 0.0;
  double high = 0.0;
  double low = 0.0;
  double close = 0.0;
  double volume = 0.0;

  bool is_bullish() const { return close > open; }
};

}  // namespace qc::model
