// Vertical value ranges of the chart's panes: what spans them, and how degenerate ones become drawable.
#pragma once

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

#include "model/indicators.hpp"
#include "model/series/bar_columns.hpp"

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
  // The two ends; an end that received no value takes the other end; none when nothing was added.
  std::optional<ValueRange> ends() const;

 private:
  double lo_;
  double hi_;
  bool has_lo_ = false;
  bool has_hi_ = false;
};

// The range drawn when an indicator or the price pane has no finite value at all.
inline constexpr ValueRange kEmptyRange{0.0, 100.0};

// Makes a range safe to map through: non-finite ends give the empty range, and a range of zero width
// [v, v] becomes [v - d, v + d] with d = 5 % of |v| (1 when that is zero or subnormal).
ValueRange drawable(ValueRange r);

// [lo, hi] widened by `fraction` of its width on both sides.
ValueRange padded(ValueRange r, double fraction);

// The main pane's price range: the bars' lows and highs and every value of the overlay indicators' vectors,
// padded by 5 %.
ValueRange price_pane_range(model::BarsView bars, std::span<const model::Indicator* const> overlays);

// An indicator's range by its range mode. The levels of a sub-pane indicator count like its values in
// the Auto and Symmetric modes.
ValueRange indicator_range(model::BarsView bars, const model::Indicator& indicator);

}  // namespace qc::api
