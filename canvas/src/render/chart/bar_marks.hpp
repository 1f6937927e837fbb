// What the bar styles share: the device-pixel grid their marks snap to, and the one mark that stands for
// the bars sharing a device column.
#pragma once

#include <cmath>
#include <cstddef>
#include <optional>
#include <string_view>

#include "coords/price_mapping.hpp"
#include "model/series/bar_columns.hpp"
#include "render/chart/device_columns.hpp"
#include "render/engine/types.hpp"
#include "util/extremes.hpp"

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

template <class Candle>
bool has_numbers(const Candle& c) {
  return util::all_true(util::not_nan(c.open), util::not_nan(c.high), util::not_nan(c.low), util::not_nan(c.close));
}

template <class Candle>
bool all_finite(const Candle& c) {
  return util::all_true(util::finite_value(c.open), util::finite_value(c.high), util::finite_value(c.low),
                        util::finite_value(c.close));
}

// The first and the last bar of [a, b) whose prices pass `priced`; none when no bar passes.
struct Ends {
  std::size_t first, last;
};

template <class Candles, class Priced>
std::optional<Ends> priced_ends(const Candles& candles, std::size_t a, std::size_t b, Priced priced) {
  std::size_t first = a, last = b;
  while (first < last && !priced(candles[first])) ++first;
  if (first == last) return std::nullopt;
  while (!priced(candles[last - 1])) --last;
  return Ends{first, last - 1};
}

// The group [a, b)'s aggregate over its bars whose prices all pass `priced`: the first open, the highest
// high, the lowest low and the last close; none when no bar passes.
template <class Candles, class Priced>
std::optional<Ohlc> aggregate(const Candles& candles, std::size_t a, std::size_t b, Priced priced) {
  const std::optional<Ends> ends = priced_ends(candles, a, b, priced);
  if (!ends) return std::nullopt;
  util::Extremes range;
  util::extremes(
      ends->first, ends->last + 1, [&](std::size_t i) { return candles[i].low; },
      [&](std::size_t i) { return candles[i].high; }, [&](std::size_t i) { return priced(candles[i]); }, range);
  return Ohlc{candles[ends->first].open, range.high, range.low, candles[ends->last].close};
}

// Where a mark stands: its centre and its body's snapped edges.
struct Slot {
  double centre, left, right;
};

// Calls mark(m, slot, a, b) for each bar of `bars` that `priced` keeps, and for each group of bars sharing a
// device column with its aggregate of the bars `priced` keeps, at the slot a candle body takes (a group's:
// its column). Groups where `priced` keeps no bar draw nothing.
template <class Priced, class Mark>
void for_each_mark(model::BarsView bars, const DeviceColumns& columns, double spacing, const DeviceGrid& grid,
                   double candle_width, Priced priced, Mark mark) {
  const double body_width = grid.body_width(candle_width);
  for_each_group(columns, 0, bars.size(), [&](std::size_t a, std::size_t b) {
    if (b - a == 1) {
      const model::Bar bar = bars[a];
      if (!priced(bar)) return;
      const double xc = coords::bar_x(a, spacing);
      const double left = xc - body_width / 2;
      mark(Ohlc{bar.open, bar.high, bar.low, bar.close}, Slot{xc, grid.snap(left), grid.snap(left + body_width)},
           a, b);
    } else if (const std::optional<Ohlc> m = aggregate(bars, a, b, priced)) {
      const double column = columns.column(a);
      mark(*m, Slot{columns.centre(column), columns.left(column), columns.right(column)}, a, b);
    }
  });
}

// A filled rectangle from x0 to x1 between two heights in either order, at least one device pixel each way.
inline Rect upright(double x0, double x1, double y_a, double y_b, const DeviceGrid& grid) {
  const double top = grid.snap(min_of(y_a, y_b)), bottom = grid.snap(max_of(y_a, y_b));
  return {x0, top, max_of(x1 - x0, grid.pixel), max_of(bottom - top, grid.pixel)};
}

}  // namespace qc::render::bar_marks
