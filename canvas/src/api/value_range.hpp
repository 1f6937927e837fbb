// Vertical value ranges of the chart's panes: what spans them, and how degenerate ones become drawable.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>

#include "model/indicators.hpp"
#include "model/series/bar_columns.hpp"
#include "util/extremes.hpp"

namespace qc::api {

struct ValueRange {
  double lo = 0.0;
  double hi = 0.0;
  friend bool operator==(const ValueRange&, const ValueRange&) = default;
};

// Finite values beyond this magnitude count as this magnitude, so that a range's width and its padding
// never overflow (2^1021, a quarter of the largest double).
inline constexpr double kValueLimit = 0x1p1021;
inline double limited_value(double v) { return std::clamp(v, -kValueLimit, kValueLimit); }

// Running minimum and maximum over the finite values added; NaN and infinities are left out.
class FiniteSpan {
 public:
  void add(double v) {
    add_low(v);
    add_high(v);
  }
  // Inline: the ranges run over every bar of a render.
  void add_low(double v) {
    if (!std::isfinite(v)) return;
    v = limited_value(v);
    lo_ = has_lo_ && !(v < lo_) ? lo_ : v;
    has_lo_ = true;
  }
  void add_high(double v) {
    if (!std::isfinite(v)) return;
    v = limited_value(v);
    hi_ = has_hi_ && !(hi_ < v) ? hi_ : v;
    has_hi_ = true;
  }
  // The finite values of a column, as add, add_low or add_high of each would take them, in one pass.
  void add_all(std::span<const double> values);
  void add_lows(std::span<const double> values);
  void add_highs(std::span<const double> values);
  // The two ends; an end that received no value takes the other end; none when nothing was added.
  std::optional<ValueRange> ends() const;

 private:
  double lo_;
  double hi_;
  bool has_lo_ = false;
  bool has_hi_ = false;
};

// The least and greatest finite values; false when none is finite.
bool finite_extremes(std::span<const double> values, util::Extremes& out);

// The values a range takes, [first, end) of each vector (a view's bars); all of them by default.
struct ValueIndices {
  std::size_t first = 0;
  std::size_t end = SIZE_MAX;
  std::span<const double> of(std::span<const double> values) const {
    const std::size_t e = std::min(end, values.size());
    return values.subspan(std::min(first, e), e - std::min(first, e));
  }
};

// The range drawn when an indicator or the price pane has no finite value at all.
inline constexpr ValueRange kEmptyRange{0.0, 100.0};

// Makes a range safe to map through: non-finite ends give the empty range, and a range of zero width
// [v, v] becomes [v - d, v + d] with d = 5 % of |v| (1 when that is zero or subnormal).
ValueRange drawable(ValueRange r);

// [lo, hi] widened by `fraction` of its width on both sides.
ValueRange padded(ValueRange r, double fraction);

// The ends of the main pane's prices: the bars' lows and highs, the overlay indicators' values at `at` and
// the series' `level` when it draws one; none without a finite one.
std::optional<ValueRange> price_pane_ends(model::BarsView bars,
                                          std::span<const model::Indicator* const> overlays, ValueIndices at = {},
                                          std::optional<double> level = std::nullopt);

// The main pane's linear range: those ends padded by 5 %, made drawable.
ValueRange price_pane_range(const std::optional<ValueRange>& ends);
inline ValueRange price_pane_range(model::BarsView bars,
                                   std::span<const model::Indicator* const> overlays, ValueIndices at = {}) {
  return price_pane_range(price_pane_ends(bars, overlays, at));
}

// 0 to 10 % above the largest drawn value of the records at `at` (the largest itself where that
// overflows); none when a drawn value is negative or none is positive.
std::optional<ValueRange> from_zero_range(std::span<const model::Indicator* const> records, ValueIndices at = {});
inline std::optional<ValueRange> from_zero_range(const model::Indicator& indicator, ValueIndices at = {}) {
  const model::Indicator* const one[] = {&indicator};
  return from_zero_range(one, at);
}

// The range of a pane holding `records` (the first one, whose rule the others join, then those drawn in its
// pane after it), by the first one's range mode from all their values at `at` (the bars' prices: `bars`);
// FromZero without its range takes the Auto one. The levels of sub-pane records count like their values in
// the Auto and Symmetric modes; a Fixed range stays as it is. The empty range without records.
ValueRange pane_range(model::BarsView bars, std::span<const model::Indicator* const> records, ValueIndices at = {});

// The range of a pane holding one indicator.
inline ValueRange indicator_range(model::BarsView bars, const model::Indicator& indicator, ValueIndices at = {}) {
  const model::Indicator* const one[] = {&indicator};
  return pane_range(bars, one, at);
}

}  // namespace qc::api
