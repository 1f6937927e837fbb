// Numeric guards: float-to-integer casts that saturate, and min/max that ignore NaN.
#pragma once

#include <concepts>
#include <limits>

namespace qc::util {

// Truncates v toward zero and clamps it to the range of Int; NaN becomes 0.
template <std::integral Int>
constexpr Int saturating_cast(double v) noexcept {
  if (v != v) return 0;
  constexpr Int lo = std::numeric_limits<Int>::min();
  constexpr Int hi = std::numeric_limits<Int>::max();
  if (v <= static_cast<double>(lo)) return lo;
  // The double nearest to a 64-bit maximum is 2^64 or 2^63, which Int cannot hold: compare with >=.
  if (v >= static_cast<double>(hi)) return hi;
  return static_cast<Int>(v);
}

// min and max that ignore a NaN operand (the other one wins); NaN only when both are NaN.
constexpr double nan_min(double a, double b) noexcept {
  if (a != a) return b;
  if (b != b) return a;
  return b < a ? b : a;
}
constexpr double nan_max(double a, double b) noexcept {
  if (a != a) return b;
  if (b != b) return a;
  return b > a ? b : a;
}

}  // namespace qc::util
