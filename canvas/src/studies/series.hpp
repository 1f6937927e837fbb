// Whole-series building blocks that several studies share: averages, true range, ATR, RSI, rate of
// change, the raw stochastic and the accumulation/distribution line. Each writes one value per input
// bar into `out` (same length as the input), NaN where it has none, or hands it on bar by bar.
#pragma once

#include <cmath>
#include <cstddef>
#include <span>
#include <vector>

#include "studies/resume.hpp"
#include "studies/window.hpp"
#include "util/huge_pages.hpp"

namespace qc::studies {

// A working column of one value per bar; at a million bars it comes in 2 MiB pages, so that filling it
// costs a few page faults rather than one per 4 kB.
using Scratch = std::vector<double, util::HugePageAllocator<double>>;

// Sum and mean of the last p values.
void sum_series(std::span<const double> x, std::size_t p, std::span<double> out);
void sma_series(std::span<const double> x, std::size_t p, std::span<double> out);

// The highest of the last p highs and the lowest of the last p lows at each bar, handed to
// each(t, highest, lowest) for t = 0, 1, 2, … in turn, each NaN where its window is not all finite. The
// windows come a chunk at a time, so that the loop over them holds no window's bookkeeping.
template <class Each>
void each_range(std::span<const double> high, std::span<const double> low, std::size_t p, Each&& each) {
  WindowMax hi(high, p);
  WindowMin lo(low, p);
  for (std::size_t t = 0; t < high.size();) {
    const std::span<const double> top = hi.settled(t), bottom = lo.settled(t);
    const std::size_t end = t + std::min(top.size(), bottom.size());  // the same chunks: same bars and p
    for (std::size_t i = 0; t < end; ++i, ++t) each(t, top[i], bottom[i]);
  }
}

// The same ranges as whole series. `highest` may be `high` itself and `lowest` `low`.
void range_series(std::span<const double> high, std::span<const double> low, std::size_t p,
                  std::span<double> highest, std::span<double> lowest);

// Weighted mean of the last p values, the newest weighted p, the oldest 1.
void wma_series(std::span<const double> x, std::size_t p, std::span<double> out);

// Exponential smoothing (2/(p+1)) seeded with the mean of the first p finite values; leading NaN (another
// study's warm-up) are skipped, so the seed covers the first p defined ones.
// With `resume`, from the state it keeps where it can (the bars before left as they are).
void ema_series(std::span<const double> x, std::size_t p, std::span<double> out, Resume* resume);
inline void ema_series(std::span<const double> x, std::size_t p, std::span<double> out) {
  ema_series(x, p, out, nullptr);
}

// Relative strength of x's changes with Wilder-smoothed gains G and losses L seeded over changes 1 … p:
// 100·G/(G + L) from bar p, 0 when G + L = 0.
void rsi_series(std::span<const double> x, std::size_t p, std::span<double> out);

// True strength: 100·EMA_s(EMA_r(Δx))/EMA_s(EMA_r(|Δx|)) from bar r + s − 1, 0 when both are 0 (no change
// at all), handed to take(t, value) for t = 0, 1, 2, … (NaN where there is none), so that a study can smooth
// it further in the same pass. After a non-finite value both smoothings start again as at bar 0. Inlined,
// so that a study's own smoothing of the values can stay in registers.
template <class Take>
[[gnu::always_inline]] inline void true_strength(std::span<const double> x, std::size_t r, std::size_t s,
                                                 Take&& take) {
  Seeded<EmaRule, 2> once(r), twice(s);  // of the moves and of their sizes
  const double once_k = once.weight(), twice_k = twice.weight();
  const double rd = static_cast<double>(r), sd = static_cast<double>(s);
  const auto ratio = [](double moves, double sizes) { return sizes == 0.0 ? 0.0 : 100.0 * moves / sizes; };
  if (!x.empty()) take(0, kNaN);
  double held[kStretch];
  in_stretches(
      1, x.size(),
      [&](std::size_t begin, std::size_t end) {
        // All four averages under way: they run without a test, in registers. A non-finite value on the way
        // stays in them to the stretch's end. The values wait in `held` till then, so that take() sees each
        // bar once.
        if (!(once.seeded() && twice.seeded())) return false;
        double moves = once.value(0), sizes = once.value(1);
        double outer_moves = twice.value(0), outer_sizes = twice.value(1);
        for (std::size_t t = begin; t < end; ++t) {
          const double d = x[t] - x[t - 1];
          moves = EmaRule::next(moves, d, once_k, rd);
          sizes = EmaRule::next(sizes, std::abs(d), once_k, rd);
          outer_moves = EmaRule::next(outer_moves, moves, twice_k, sd);
          outer_sizes = EmaRule::next(outer_sizes, sizes, twice_k, sd);
          held[t - begin] = ratio(outer_moves, outer_sizes);
        }
        if (!finite_all(moves, sizes, outer_moves, outer_sizes)) return false;
        once.resume(moves, sizes);
        twice.resume(outer_moves, outer_sizes);
        for (std::size_t t = begin; t < end; ++t) take(t, held[t - begin]);
        return true;
      },
      [&](std::size_t t) {
        const double d = x[t] - x[t - 1];
        // The outer smoothings are fed NaN while the inner ones warm up, so after a gap they restart too.
        const bool inner = once.step({d, std::abs(d)});
        const bool outer = twice.step({inner ? once.value(0) : kNaN, inner ? once.value(1) : kNaN});
        take(t, outer ? ratio(twice.value(0), twice.value(1)) : kNaN);
      });
}

// 100·(x_t/x_{t−n} − 1) from bar n; 0 when the base x_{t−n} is 0. NaN while the n + 1 bars it spans hold a
// non-finite value, so that after one it starts again as at bar 0. Bar by bar: step(t) for t = 0, 1, 2, …
// in turn gives the value at t.
class RateOfChange {
 public:
  RateOfChange(std::span<const double> x, std::size_t n) : x_(x), n_(n) {}

  double step(std::size_t t) {
    run_ = finite(x_[t]) ? run_ + 1 : 0;
    if (run_ <= n_) return kNaN;  // the n + 1 bars from the base to t are not all finite
    const double base = x_[t - n_];
    return base == 0.0 ? 0.0 : 100.0 * (x_[t] / base - 1.0);
  }

 private:
  std::span<const double> x_;
  std::size_t n_;
  std::size_t run_ = 0;  // finite values in a row ending at t
};
void roc_series(std::span<const double> x, std::size_t n, std::span<double> out);

// 100·(C − lowest L)/(highest H − lowest L) over the last k bars, 0 when the range is zero: no larger
// than 1e-14 of |highest| + |lowest|, so that rounding left on a flat stretch reads as flat.
void stochastic_series(std::span<const double> high, std::span<const double> low, std::span<const double> close,
                       std::size_t k, std::span<double> out);

// Whether a range hi − lo counts as zero (see stochastic_series).
inline bool negligible_range(double hi, double lo) { return hi - lo <= 1e-14 * (std::abs(hi) + std::abs(lo)); }

// One bar's accumulation/distribution flow ((C − L) − (H − C))/(H − L)·V; a bar with H − L ≤ 0 adds nothing.
inline double ad_flow(double high, double low, double close, double volume) {
  const double range = high - low;
  return range > 0.0 ? ((close - low) - (high - close)) / range * volume : 0.0;
}

// Running sum of ((C − L) − (H − C))/(H − L)·V from 0 before bar 0; a bar with H − L ≤ 0 adds nothing.
// A non-finite bar gives NaN and the sum starts again after it.
// With `resume`, from the sum it keeps where it can (the bars before left as they are).
void ad_series(std::span<const double> high, std::span<const double> low, std::span<const double> close,
               std::span<const double> volume, std::span<double> out, Resume* resume);
inline void ad_series(std::span<const double> high, std::span<const double> low, std::span<const double> close,
                      std::span<const double> volume, std::span<double> out) {
  ad_series(high, low, close, volume, out, nullptr);
}

}  // namespace qc::studies
