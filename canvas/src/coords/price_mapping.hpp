// Pane coordinates: bar index to x, value to y.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace qc::coords {

// The per cent change of value from base, measured against |base| (see PriceMapping).
inline double percent_change(double value, double base) { return (value - base) / std::fabs(base) * 100.0; }

// Bar i is drawn at the centre of its slot; the slots start at bar `origin` (the first bar a view shows), so
// that bar origin - 1 lies half a slot left of x = 0.
inline double bar_x(std::uint64_t i, double spacing, std::size_t origin = 0) {
  return (static_cast<double>(i) - static_cast<double>(origin) + 0.5) * spacing;
}

// Maps the value range [min, max] onto a pane from top to top + height, larger values higher up. The
// fraction of the range is held within a million pane heights, so that a value far outside the range, or
// one whose distance from it overflows, still lands on a finite pixel (the renderer keeps max - min
// finite and non-zero).
//
// A logarithmic mapping places ln(value) over [log_min, log_max] instead (min and max are then their
// exponentials, the range that rules reading the pane's range take); a value at or below zero has no
// logarithm and lies at the lower hold.
//
// A relative mapping first turns each value into the number its scale writes for it, `origin` plus its per
// cent change from `base` (origin 0 for a per cent scale, 100 for an indexed one), and maps that linearly:
// min and max, and the scale's ticks, are in those numbers. The change is measured against |base|, so that
// a rise stays a rise above a base below zero; the caller keeps the base finite and non-zero.
struct PriceMapping {
  static constexpr double kMaxFraction = 1e6;

  double min = 0.0;
  double max = 1.0;
  double top = 0.0;
  double height = 0.0;
  // The pane's foot, where the value min sits. A band standing on another pane's foot gives that foot
  // here, so that its values are measured from it exactly rather than from (foot - height) + height.
  double bottom = top + height;
  bool log = false;
  double log_min = 0.0;
  double log_max = 1.0;
  bool relative = false;
  double base = 1.0;
  double origin = 0.0;

  // The number the pane's scale writes for a value, and the value a number of the scale stands for.
  double scaled(double value) const { return relative ? origin + percent_change(value, base) : value; }
  double unscaled(double number) const { return relative ? base + (number - origin) / 100.0 * std::fabs(base) : number; }

  // Where a number of the scale (a tick) lies, as a fraction of the range from min.
  double scale_fraction(double number) const {
    if (!log) return (number - min) / (max - min);
    if (number <= 0) return -kMaxFraction;
    return (std::log(number) - log_min) / (log_max - log_min);  // NaN stays NaN, as in the linear mapping
  }

  double y(double value) const { return scale_y(scaled(value)); }
  double scale_y(double number) const {
    return bottom - std::clamp(scale_fraction(number), -kMaxFraction, kMaxFraction) * height;
  }
};

}  // namespace qc::coords
