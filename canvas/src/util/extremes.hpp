// The least and greatest values over a stretch of bars, in one straight pass the compiler vectorises: the
// passes behind a million bars' grouped marks and value ranges.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

namespace qc::util {

// Finite: neither NaN nor infinite, as a comparison the vectoriser takes (std::isfinite may be a call).
inline bool finite_value(double v) { return std::abs(v) <= std::numeric_limits<double>::max(); }
inline bool not_nan(double v) { return v == v; }

// Every one of the conditions, without the branches `&&` would put in a vectorised loop.
template <class... Bools>
bool all_true(Bools... conditions) {
  return (static_cast<unsigned>(conditions) & ...) != 0;
}

struct Extremes {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
};

namespace detail {

inline constexpr std::size_t kLanes = 4;
inline constexpr std::size_t kBlock = 64;

// The extremes of the N bars from k (N a multiple of kLanes, or 1). Each lane keeps its own least and
// greatest value in the loop over a fixed number of lanes, which the vectoriser takes whole even at -O2
// (whose cost model takes only loops it replaces without a scalar remainder); "unroll 1" keeps -O3 from
// unrolling the lanes into scalar code before the vectoriser sees them. A bar that `counted` leaves out
// stands as +inf and -inf, which change neither extreme.
template <std::size_t N, class Lower, class Upper, class Counted>
Extremes block_extremes(std::size_t k, const Lower& lower, const Upper& upper, const Counted& counted) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  constexpr std::size_t lanes = N < kLanes ? N : kLanes;
  std::array<double, lanes> lo, hi;
  lo.fill(inf);
  hi.fill(-inf);
  for (std::size_t r = 0; r < N; r += lanes) {
#pragma GCC unroll 1
    for (std::size_t l = 0; l < lanes; ++l) {
      const std::size_t i = k + r + l;
      const bool ok = counted(i);
      const double a = lower(i), b = upper(i);
      const double least = ok ? a : inf, greatest = ok ? b : -inf;
      lo[l] = least < lo[l] ? least : lo[l];
      hi[l] = greatest > hi[l] ? greatest : hi[l];
    }
  }
  Extremes e{lo[0], hi[0]};
  for (std::size_t l = 1; l < lanes; ++l) {
    e.low = lo[l] < e.low ? lo[l] : e.low;
    e.high = hi[l] > e.high ? hi[l] : e.high;
  }
  return e;
}

}  // namespace detail

// The least lower(k) and the greatest upper(k) over the k of [a, b) that `counted` keeps, and where each was
// first reached (b when `counted` keeps no bar). The pass notes the block in which an extreme last improved;
// only that block is searched again for its first bar.
struct ExtremeBars {
  Extremes values;
  std::size_t low, high;
};

template <class Lower, class Upper, class Counted>
ExtremeBars extreme_bars(std::size_t a, std::size_t b, Lower lower, Upper upper, Counted counted) {
  using detail::kBlock;
  Extremes best;
  std::size_t low_from = b, high_from = b;  // the block holding each extreme's first bar
  const auto take = [&](const Extremes& e, std::size_t from) {
    if (e.low < best.low) {
      best.low = e.low;
      low_from = from;
    }
    if (e.high > best.high) {
      best.high = e.high;
      high_from = from;
    }
  };
  std::size_t k = a;
  for (; k < b && b - k >= kBlock; k += kBlock) take(detail::block_extremes<kBlock>(k, lower, upper, counted), k);
  for (; k < b; ++k) take(detail::block_extremes<1>(k, lower, upper, counted), k);
  // The first counted bar at the value; an extreme that never improved (no bar counted, or each counted
  // value infinite the wrong way) is searched for over all the bars.
  const auto first_at = [&](std::size_t from, auto&& value, double v) {
    const std::size_t to = from == b ? b : (from + kBlock < b ? from + kBlock : b);
    for (std::size_t i = from == b ? a : from; i < to; ++i) {
      if (counted(i) && value(i) == v) return i;
    }
    return b;
  };
  return {best, first_at(low_from, lower, best.low), first_at(high_from, upper, best.high)};
}

// The extremes alone; none counted when both ends stay infinite and a search finds no counted bar.
template <class Lower, class Upper, class Counted>
bool extremes(std::size_t a, std::size_t b, Lower lower, Upper upper, Counted counted, Extremes& out) {
  using detail::kBlock;
  Extremes best;
  std::size_t k = a;
  const auto take = [&](const Extremes& e) {
    best.low = e.low < best.low ? e.low : best.low;
    best.high = e.high > best.high ? e.high : best.high;
  };
  for (; k < b && b - k >= kBlock; k += kBlock) take(detail::block_extremes<kBlock>(k, lower, upper, counted));
  for (; k < b; ++k) take(detail::block_extremes<1>(k, lower, upper, counted));
  out = best;
  if (!std::isinf(best.low) || !std::isinf(best.high)) return true;
  for (std::size_t i = a; i < b; ++i) {
    if (counted(i)) return true;
  }
  return false;
}

}  // namespace qc::util
