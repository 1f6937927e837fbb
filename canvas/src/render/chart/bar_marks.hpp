// What the bar styles share: the device-pixel grid their marks snap to, and the one mark that stands for
// the bars sharing a device column.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>
#include <string_view>

#include "render/engine/types.hpp"

namespace qc::render::bar_marks {

inline Color parse_or_black(std::string_view text) { return css_or(text, kOpaqueBlack); }

// NaN-aware maximum and minimum as std::fmax and std::fmin give them (a NaN operand yields the other),
// as plain comparisons rather than library calls.
inline double max_of(double a, double b) { return a >= b || std::isnan(b) ? a : b; }
inline double min_of(double a, double b) { return a <= b || std::isnan(b) ? a : b; }

// The device-pixel grid of ratio r that bars snap to: edges on device pixels, and a body width of whole
// device pixels. Wicks and bar strokes are k = round(r) device pixels wide (at least one) and centred on
// the k pixels from a snapped edge, so that each covers whole device pixels at any ratio.
struct DeviceGrid {
  double r;
  double pixel = 1.0 / r;
  double stroke_width = max_of(std::round(r), 1.0) / r;
  double half_stroke = stroke_width / 2;

  double snap(double v) const { return std::floor(v * r) / r; }
  double hairline(double v) const { return snap(v) + half_stroke; }
  double body_width(double candle_width) const {
    return max_of(std::round(candle_width * r) / r, pixel);  // NaN gives one pixel
  }
};

// Open, high, low and close of a mark that stands for a group of bars.
struct Ohlc {
  double open, high, low, close;
};

// The group [a, b)'s aggregate over its bars whose prices all pass `priced`: the first open, the highest
// high, the lowest low and the last close; none when no bar passes.
template <class Candles, class Priced>
std::optional<Ohlc> aggregate(const Candles& candles, std::size_t a, std::size_t b, Priced priced) {
  std::optional<Ohlc> out;
  for (std::size_t i = a; i < b; ++i) {
    const auto& c = candles[i];
    if (!priced(c)) continue;
    if (!out) {
      out = Ohlc{c.open, c.high, c.low, c.close};
      continue;
    }
    out->high = max_of(out->high, c.high);
    out->low = min_of(out->low, c.low);
    out->close = c.close;
  }
  return out;
}

template <class Candle>
bool has_numbers(const Candle& c) {
  return !std::isnan(c.open) && !std::isnan(c.high) && !std::isnan(c.low) && !std::isnan(c.close);
}

template <class Candle>
bool all_finite(const Candle& c) {
  return std::isfinite(c.open) && std::isfinite(c.high) && std::isfinite(c.low) && std::isfinite(c.close);
}

}  // namespace qc::render::bar_marks
