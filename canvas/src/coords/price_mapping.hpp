// Pane coordinates: bar index to x, value to y.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace qc::coords {

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

  double fraction(double value) const {
    if (!log) return (value - min) / (max - min);
    if (value <= 0) return -kMaxFraction;
    return (std::log(value) - log_min) / (log_max - log_min);  // NaN stays NaN, as in the linear mapping
  }

  double y(double value) const { return bottom - std::clamp(fraction(value), -kMaxFraction, kMaxFraction) * height; }
};

}  // namespace qc::coords
