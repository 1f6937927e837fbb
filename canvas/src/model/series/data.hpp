// Series data: the OHLCV bar every chart is built from, and the per-bar inputs of the series renderers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

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

// The optional colour texts override the style for this candle only.
struct CandlestickData {
  std::optional<std::string> body_color;
  std::optional<std::string> border_color;
  std::optional<std::string> wick_color;
  std::int64_t time = 0;
  double open = 0.0;
  double high = 0.0;
  double low = 0.0;
  double close = 0.0;
  double volume = 0.0;
};

struct LineData {
  std::optional<std::string> color;
  std::int64_t time = 0;
  double value = 0.0;
};

}  // namespace qc::model
