// The shared window machinery and series blocks against plain computations over each window: values, the
// NaN rule (a window or recursion holding a non-finite input gives no value and starts again after it),
// ties in windowed extremes, seeds, and the exact zero variance of a flat stretch after moving prices.
#include "studies/series.hpp"
#include "studies/window.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <span>
#include <vector>

using namespace qc::studies;

namespace {

// Wilder's smoothing over a whole series, as the studies step it.
void wilder_steps(std::span<const double> x, std::size_t p, std::span<double> out) {
  Wilder avg(p);
  for (std::size_t t = 0; t < x.size(); ++t) out[t] = avg.step(x[t]) ? avg.value() : kNaN;
}

// A random walk around 1455 with NaN at a few bars (one a pair, one near the start), and every fourth
// value rounded to a whole number so that equal values meet in the windows.
std::vector<double> walk_with_gaps(std::size_t n) {
  std::mt19937 rng(7);
  std::normal_distribution<double> step(0.0, 4.0);
  std::vector<double> x(n);
  double v = 1455.22;
  for (std::size_t t = 0; t < n; ++t) {
    v += step(rng);
    x[t] = t % 4 == 0 ? std::round(v) : v;
  }
  for (std::size_t t : {3u, 40u, 41u, 97u}) x[t] = kNaN;
  return x;
}

// The p values ending at t, when they are all there and finite.
std::optional<std::span<const double>> window_at(std::span<const double> x, std::size_t t, std::size_t p) {
  if (t + 1 < p) return std::nullopt;
  const auto w = x.subspan(t + 1 - p, p);
  if (!std::all_of(w.begin(), w.end(), [](double v) { return std::isfinite(v); })) return std::nullopt;
  return w;
}

double direct_sum(std::span<const double> w) {
  double s = 0.0;
  for (double v : w) s += v;
  return s;
}

double direct_variance(std::span<const double> w) {
  const double mean = direct_sum(w) / static_cast<double>(w.size());
  double m2 = 0.0;
  for (double v : w) m2 += (v - mean) * (v - mean);
  return m2 / static_cast<double>(w.size());
}

// Least-squares slope against x = 0 … p − 1, from the centred sums.
double direct_slope(std::span<const double> w) {
  const double p = static_cast<double>(w.size());
  const double mx = (p - 1.0) / 2.0, my = direct_sum(w) / p;
  double sxy = 0.0, sxx = 0.0;
  for (std::size_t i = 0; i < w.size(); ++i) {
    sxy += (static_cast<double>(i) - mx) * (w[i] - my);
    sxx += (static_cast<double>(i) - mx) * (static_cast<double>(i) - mx);
  }
  return sxy / sxx;
}

// The newest index holding the window's extreme: ties go to the latest bar.
double latest_extreme_index(std::span<const double> w, std::size_t first, bool largest) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < w.size(); ++i) {
    if (largest ? w[i] >= w[best] : w[i] <= w[best]) best = i;
  }
  return static_cast<double>(first + best);
}

// slide_sums<2> of x and −2x: the first sum where the window is full, after checking the second against it.
std::vector<std::optional<double>> fed_sums(std::span<const double> x, std::size_t p, std::size_t) {
  std::vector<std::optional<double>> out(x.size());
  slide_sums<2>(
      x.size(), {p, p}, [&](std::size_t t) { return std::array{x[t], -2.0 * x[t]}; },
      [&](std::size_t t, bool full, const std::array<double, 2>& sums) {
        if (!full) return;
        EXPECT_NEAR(sums[1], -2.0 * sums[0], 1e-9 * std::abs(sums[0])) << "bar " << t;
        out[t] = sums[0];
      });
  return out;
}

struct WindowCase {
  const char* name;
  // Steps the machinery over every bar; what it gives at each bar, or nothing.
  std::function<std::vector<std::optional<double>>(std::span<const double>, std::size_t)> run;
  std::function<double(std::span<const double>, std::size_t first)> direct;
  bool needs_two = false;  // a slope or variance needs two values
};

template <class W, class F>
std::vector<std::optional<double>> step_all(W w, std::size_t n, F value) {
  std::vector<std::optional<double>> out(n);
  for (std::size_t t = 0; t < n; ++t) {
    if (w.step(t)) out[t] = value(w);
  }
  return out;
}

TEST(WindowMachinery, AgreesWithDirectWindowsAndTheNaNRule) {
  const std::vector<double> x = walk_with_gaps(160);
  const WindowCase cases[] = {
      {"sum", [](auto s, auto p) { return step_all(WindowSum(s, p), s.size(), [](auto& w) { return w.sum(); }); },
       [](auto w, auto) { return direct_sum(w); }},
      {"fed sums", [](auto s, auto p) { return fed_sums(s, p, 1); }, [](auto w, auto) { return direct_sum(w); }},
      {"max value", [](auto s, auto p) { return step_all(WindowMax(s, p), s.size(), [](auto& w) { return w.value(); }); },
       [](auto w, auto) { return *std::max_element(w.begin(), w.end()); }},
      {"min value", [](auto s, auto p) { return step_all(WindowMin(s, p), s.size(), [](auto& w) { return w.value(); }); },
       [](auto w, auto) { return *std::min_element(w.begin(), w.end()); }},
      {"max index, latest of ties",
       [](auto s, auto p) {
         return step_all(WindowMax(s, p, true), s.size(), [](auto& w) { return static_cast<double>(w.index()); });
       },
       [](auto w, auto first) { return latest_extreme_index(w, first, true); }},
      {"min index, latest of ties",
       [](auto s, auto p) {
         return step_all(WindowMin(s, p, true), s.size(), [](auto& w) { return static_cast<double>(w.index()); });
       },
       [](auto w, auto first) { return latest_extreme_index(w, first, false); }},
      {"mean", [](auto s, auto p) { return step_all(WindowVariance(s, p), s.size(), [](auto& w) { return w.mean(); }); },
       [](auto w, auto) { return direct_sum(w) / static_cast<double>(w.size()); }},
      {"mean by a running sum",
       [](auto s, auto p) { return step_all(WindowMean(s, p), s.size(), [](auto& w) { return w.mean(); }); },
       [](auto w, auto) { return direct_sum(w) / static_cast<double>(w.size()); }},
      {"variance",
       [](auto s, auto p) { return step_all(WindowVariance(s, p), s.size(), [](auto& w) { return w.variance(); }); },
       [](auto w, auto) { return direct_variance(w); }},
      {"slope", [](auto s, auto p) { return step_all(WindowLine(s, p), s.size(), [](auto& w) { return w.slope(); }); },
       [](auto w, auto) { return direct_slope(w); }, true},
      {"line's last value",
       [](auto s, auto p) { return step_all(WindowLine(s, p), s.size(), [](auto& w) { return w.last(); }); },
       [](auto w, auto) {
         const double p = static_cast<double>(w.size());
         return direct_sum(w) / p + direct_slope(w) * (p - 1.0) / 2.0;
       },
       true},
  };
  for (const WindowCase& c : cases) {
    for (std::size_t p : {1u, 2u, 5u, 20u}) {
      if (c.needs_two && p < 2) continue;
      SCOPED_TRACE(testing::Message() << c.name << ", period " << p);
      const auto got = c.run(x, p);
      std::size_t valued = 0;
      for (std::size_t t = 0; t < x.size(); ++t) {
        const auto w = window_at(x, t, p);
        ASSERT_EQ(got[t].has_value(), w.has_value()) << "bar " << t;
        if (!w) continue;
        ++valued;
        const double want = c.direct(*w, t + 1 - p);
        EXPECT_NEAR(*got[t], want, 1e-9 * std::max(1.0, std::abs(want))) << "bar " << t;
      }
      EXPECT_GT(valued, x.size() / 2);
    }
  }
}

// Extremes are settled a few thousand bars at a time: windows that start in one such chunk and end in the
// next, periods around and above the chunk, and gaps next to its edges must read as every other window.
// Short periods without indices are settled by doubling: powers of two, others, and the longest so settled.
// Taken a chunk at a time, the windows read the same, NaN where they are short.
TEST(WindowMachinery, ExtremesAcrossChunks) {
  std::vector<double> x = walk_with_gaps(7000);
  for (std::size_t t : {2047u, 2048u, 4095u, 6001u}) x[t] = kNaN;
  for (std::size_t p : {1u, 2u, 7u, 14u, 16u, 33u, 64u, 65u, 2047u, 2048u, 2049u, 3001u}) {
    SCOPED_TRACE(testing::Message() << "period " << p);
    WindowMax hi(x, p, true), hi_value(x, p), hi_chunks(x, p);
    WindowMin lo(x, p, true), lo_value(x, p), lo_chunks(x, p);
    std::vector<double> highest, lowest;
    while (highest.size() < x.size()) {
      const std::span<const double> top = hi_chunks.settled(highest.size());
      const std::span<const double> bottom = lo_chunks.settled(lowest.size());
      ASSERT_FALSE(top.empty());
      highest.insert(highest.end(), top.begin(), top.end());
      lowest.insert(lowest.end(), bottom.begin(), bottom.end());
    }
    ASSERT_EQ(highest.size(), x.size());
    ASSERT_EQ(lowest.size(), x.size());
    for (std::size_t t = 0; t < x.size(); ++t) {
      const bool h = hi.step(t);
      const bool l = lo.step(t);
      const auto w = window_at(x, t, p);
      ASSERT_EQ(h, w.has_value()) << "bar " << t;
      ASSERT_EQ(l, w.has_value()) << "bar " << t;
      ASSERT_EQ(hi_value.step(t), w.has_value()) << "bar " << t;
      ASSERT_EQ(lo_value.step(t), w.has_value()) << "bar " << t;
      ASSERT_EQ(std::isnan(highest[t]), !w.has_value()) << "bar " << t;
      ASSERT_EQ(std::isnan(lowest[t]), !w.has_value()) << "bar " << t;
      if (!w) continue;
      const std::size_t first = t + 1 - p;
      ASSERT_EQ(hi.value(), *std::max_element(w->begin(), w->end())) << "bar " << t;
      ASSERT_EQ(lo.value(), *std::min_element(w->begin(), w->end())) << "bar " << t;
      ASSERT_EQ(hi_value.value(), hi.value()) << "bar " << t;
      ASSERT_EQ(lo_value.value(), lo.value()) << "bar " << t;
      ASSERT_EQ(highest[t], hi.value()) << "bar " << t;
      ASSERT_EQ(lowest[t], lo.value()) << "bar " << t;
      ASSERT_EQ(static_cast<double>(hi.index()), latest_extreme_index(*w, first, true)) << "bar " << t;
      ASSERT_EQ(static_cast<double>(lo.index()), latest_extreme_index(*w, first, false)) << "bar " << t;
    }
  }
}

// The whole-series extremes read as every window does, NaN where a window is short or holds a non-finite
// value (an infinity too), also when they overwrite their input; the highs and lows each by their own
// windows.
TEST(SeriesBlocks, RangeSeriesAgreesWithItsWindows) {
  std::vector<double> x = walk_with_gaps(160);
  x[120] = std::numeric_limits<double>::infinity();
  x[121] = -std::numeric_limits<double>::infinity();
  std::vector<double> y(x.rbegin(), x.rend());  // other gaps
  for (std::size_t p : {1u, 2u, 5u, 20u, 159u, 160u}) {
    SCOPED_TRACE(testing::Message() << "period " << p);
    std::vector<double> hi(x.size()), lo(x.size()), in_hi = x, in_lo = y;
    range_series(x, y, p, hi, lo);
    range_series(in_hi, in_lo, p, in_hi, in_lo);
    for (std::size_t t = 0; t < x.size(); ++t) {
      const auto w = window_at(x, t, p);
      const auto v = window_at(y, t, p);
      ASSERT_EQ(std::isnan(hi[t]), !w.has_value()) << "bar " << t;
      ASSERT_EQ(std::isnan(lo[t]), !v.has_value()) << "bar " << t;
      if (w) {
        ASSERT_EQ(hi[t], *std::max_element(w->begin(), w->end())) << "bar " << t;
      }
      if (v) {
        ASSERT_EQ(lo[t], *std::min_element(v->begin(), v->end())) << "bar " << t;
      }
      ASSERT_TRUE(in_hi[t] == hi[t] || (std::isnan(in_hi[t]) && std::isnan(hi[t]))) << "bar " << t;
      ASSERT_TRUE(in_lo[t] == lo[t] || (std::isnan(in_lo[t]) && std::isnan(lo[t]))) << "bar " << t;
    }
  }
}

// Prices move, then stay at one value: once a window holds only that value its variance is exactly 0 and
// its mean exactly the value, although the sliding update carries the moves' rounding.
TEST(WindowMachinery, FlatStretchAfterMovingPricesHasExactlyZeroVariance) {
  std::vector<double> x = walk_with_gaps(120);
  x.resize(200, 1455.22);
  for (std::size_t p : {2u, 20u, 50u}) {
    SCOPED_TRACE(p);
    WindowVariance w(x, p);
    for (std::size_t t = 0; t < x.size(); ++t) {
      const bool valued = w.step(t);
      if (t + 1 >= 120 + p) {
        ASSERT_TRUE(valued);
        EXPECT_EQ(w.variance(), 0.0) << t;
        EXPECT_EQ(w.mean(), 1455.22) << t;
      } else if (t >= 120 && valued) {
        EXPECT_GT(w.variance(), 0.0) << t;  // one moved value is still in the window
      }
    }
  }
}

// Flows that stop: once a window holds only zeros its sum is exactly 0, although the sliding update carries
// the rounding of the values that left; a bar with a NaN empties the windows of every value made with it.
TEST(WindowMachinery, SlideSumsOfZerosAndGaps) {
  std::vector<double> x = walk_with_gaps(120);
  x.resize(160, 0.0);
  const std::size_t p = 7;
  std::size_t checked = 0;
  slide_sums<2>(
      x.size(), {p, p},
      // Values of very different sizes, so that the sliding update rounds.
      [&](std::size_t t) { return std::array{x[t] * (t % 2 == 0 ? 1e3 : 1e-3), t == 60 ? kNaN : 1.0}; },
      [&](std::size_t t, bool full, const std::array<double, 2>& sums) {
        if (t >= 60 && t < 60 + p) {
          EXPECT_FALSE(full) << t;
        } else if (t >= 120 + p) {
          ASSERT_TRUE(full) << t;
          EXPECT_EQ(sums[0], 0.0) << t;
          EXPECT_EQ(sums[1], static_cast<double>(p)) << t;
          ++checked;
        }
      });
  EXPECT_EQ(checked, 160 - 120 - p);
}

// Each value's sum is what WindowSum reads from a column, bit for bit, whether its block slides plainly or
// bar by bar (and so are the column's sums taken a stretch at a time), so that a study may sum values made
// on the way or a whole column alike: periods short and longer than a block, beside a second value of
// period 5, over blocks of moving values, stretches of zeros shorter and longer than a block, gaps and
// values of very different sizes.
TEST(WindowMachinery, SlideSumsMatchWindowSumBitForBit) {
  std::vector<double> x = walk_with_gaps(4000);
  for (std::size_t t = 0; t < x.size(); ++t) x[t] *= t % 3 == 0 ? 1e4 : 1e-2;
  std::fill(x.begin() + 2200, x.begin() + 2240, 0.0);
  x[2250] = std::numeric_limits<double>::infinity();
  std::fill(x.begin() + 2900, x.begin() + 3600, 0.0);
  for (const std::size_t p : {1u, 2u, 5u, 7u, 9u, 16u, 17u, 34u, 511u, 512u, 513u, 700u}) {
    WindowSum column(x, p), short_column(x, 5);
    std::size_t compared = 0;
    slide_sums<2>(
        x.size(), {p, 5}, [&](std::size_t t) { return std::array{x[t], x[t]}; },
        [&](std::size_t t, bool full, const std::array<double, 2>& sums) {
          const bool own = short_column.step(t);
          ASSERT_EQ(full, column.step(t) && own) << "p " << p << " bar " << t;
          if (!full) return;
          ++compared;
          EXPECT_EQ(sums[0], column.sum()) << "p " << p << " bar " << t;
          EXPECT_EQ(sums[1], short_column.sum()) << "p " << p << " bar " << t;
        });
    EXPECT_GT(compared, x.size() / 2) << "p " << p;
    // Taken a stretch at a time, of uneven lengths, the column's sums are its steps', bit for bit.
    WindowSum stepped(x, p), stretched(x, p);
    std::vector<double> out(x.size());
    for (std::size_t t = 0, m = 1; t < x.size(); t += m, m = m * 3 % 700 + 1) {
      m = std::min(m, x.size() - t);
      stretched.sums(t, m, out.data() + t);
    }
    for (std::size_t t = 0; t < x.size(); ++t) {
      const bool full = stepped.step(t);
      ASSERT_EQ(std::isnan(out[t]), !full) << "p " << p << " bar " << t;
      if (full) {
        ASSERT_EQ(out[t], stepped.sum()) << "p " << p << " bar " << t;
      }
    }
  }
}

// A block counts as clean only when every value is finite (and, asked, none is 0): one NaN, infinity or 0
// anywhere in it, in the wide part or the tail, on the wide path and the plain one (which WebAssembly
// takes).
TEST(WindowMachinery, CleanBlocksHoldNoBadValue) {
  const auto paths = [](const std::vector<double>& v, bool nonzero) {
    std::vector<bool> clean{nonzero ? all_finite_scalar<true>(v.data(), v.size())
                                    : all_finite_scalar<false>(v.data(), v.size())};
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx2")) {
      clean.push_back(nonzero ? all_finite_wide<true>(v.data(), v.size())
                              : all_finite_wide<false>(v.data(), v.size()));
    }
#endif
    return clean;
  };
  const double bad[] = {kNaN, std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                        0.0, -0.0};
  for (const std::size_t m : {0u, 1u, 7u, 8u, 9u, 16u, 23u, 512u}) {
    std::vector<double> v(m);
    for (std::size_t i = 0; i < m; ++i) {
      v[i] = (i % 2 ? -1.0 : 1.0) * std::numeric_limits<double>::max() / static_cast<double>(i + 1);
    }
    for (const bool nonzero : {false, true}) {
      for (const bool c : paths(v, nonzero)) EXPECT_TRUE(c) << "m " << m;
      for (std::size_t at = 0; at < m; ++at) {
        for (const double b : bad) {
          std::vector<double> w = v;
          w[at] = b;
          const bool zero = b == 0.0;
          for (const bool c : paths(w, nonzero)) {
            EXPECT_EQ(c, zero && !nonzero) << "m " << m << " at " << at << " value " << b << " nonzero " << nonzero;
          }
        }
      }
    }
  }
}

// Exponential and Wilder smoothing by hand: seeded with the mean of the first p finite inputs, restarted
// after a NaN, and skipping another study's leading NaN.
TEST(WindowMachinery, SeededAveragesByHand) {
  struct Case {
    const char* name;
    void (*series)(std::span<const double>, std::size_t, std::span<double>);
    std::vector<double> x;
    std::size_t p;
    std::vector<double> want;
  };
  const Case cases[] = {
      {"ema", ema_series, {1, 2, 3, 4, 5}, 3, {kNaN, kNaN, 2, 3, 4}},
      {"wilder", wilder_steps, {1, 2, 3, 4, 5}, 3, {kNaN, kNaN, 2, 8.0 / 3, (16.0 / 3 + 5) / 3}},
      {"ema restarts after NaN", ema_series, {1, 2, 3, kNaN, 4, 5, 6, 7}, 3, {kNaN, kNaN, 2, kNaN, kNaN, kNaN, 5, 6}},
      {"ema after a warm-up", ema_series, {kNaN, kNaN, 1, 2, 3}, 2, {kNaN, kNaN, kNaN, 1.5, 2.5}},
      {"period 1 follows the input", wilder_steps, {4, kNaN, 6}, 1, {4, kNaN, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<double> out(c.x.size());
    c.series(c.x, c.p, out);
    for (std::size_t t = 0; t < out.size(); ++t) {
      if (std::isnan(c.want[t])) {
        EXPECT_TRUE(std::isnan(out[t])) << t;
      } else {
        EXPECT_DOUBLE_EQ(out[t], c.want[t]) << t;
      }
    }
  }
}

TEST(SeriesBlocks, TrueRangeAndAverageTrueRange) {
  EXPECT_EQ(true_range(12, 10, 11), 2.0);  // inside the bar
  EXPECT_EQ(true_range(12, 10, 15), 5.0);  // a gap down
  EXPECT_EQ(true_range(12, 10, 7), 5.0);   // a gap up
  EXPECT_TRUE(std::isnan(true_range(12, kNaN, 11)));
  EXPECT_TRUE(std::isnan(true_range(12, 10, std::numeric_limits<double>::infinity())));

  // True ranges 2, 5, 5, 2 from bar 1: ATR 3 is their first three's mean at bar 3, then Wilder's step.
  const std::vector<double> high{12, 12, 12, 12, 12}, low{10, 10, 10, 10, 10}, close{11, 15, 7, 11, 11};
  AverageTrueRange average(high, low, close, 3);
  std::vector<double> atr(5);
  for (std::size_t t = 0; t < atr.size(); ++t) atr[t] = average.step(t) ? average.value() : kNaN;
  EXPECT_TRUE(std::isnan(atr[0]) && std::isnan(atr[1]) && std::isnan(atr[2]));
  EXPECT_DOUBLE_EQ(atr[3], 4.0);
  EXPECT_DOUBLE_EQ(atr[4], (4.0 * 2 + 2) / 3);
}

TEST(SeriesBlocks, WeightedMeanAgreesWithItsWindows) {
  const std::vector<double> x = walk_with_gaps(160);
  for (std::size_t p : {1u, 4u, 15u}) {
    std::vector<double> out(x.size());
    wma_series(x, p, out);
    for (std::size_t t = 0; t < x.size(); ++t) {
      const auto w = window_at(x, t, p);
      ASSERT_EQ(!std::isnan(out[t]), w.has_value()) << p << " bar " << t;
      if (!w) continue;
      double weighted = 0.0;
      for (std::size_t i = 0; i < p; ++i) weighted += static_cast<double>(i + 1) * (*w)[i];
      EXPECT_NEAR(out[t], weighted / (static_cast<double>(p * (p + 1)) / 2), 1e-9 * 1455) << p << " bar " << t;
    }
  }
}

// The zero rules: RSI 0 on unchanged closes, a rate of change 0 from a zero base, a stochastic 0 on a range
// of rounding only.
TEST(SeriesBlocks, ZeroRules) {
  std::vector<double> out(6);
  rsi_series(std::vector<double>{5, 5, 5, 5, 5, 5}, 3, out);
  EXPECT_TRUE(std::isnan(out[2]));
  for (std::size_t t = 3; t < 6; ++t) EXPECT_EQ(out[t], 0.0) << t;
  rsi_series(std::vector<double>{1, 2, 3, 2, 2, 2}, 2, out);
  EXPECT_DOUBLE_EQ(out[2], 100.0);  // gains 1 and 1, no loss
  EXPECT_DOUBLE_EQ(out[3], 100.0 * 0.5 / 1.0);  // G = (1 + 0)/2, L = (0 + 1)/2

  roc_series(std::vector<double>{0, 2, 4, 6, 0, 3}, 1, out);
  EXPECT_EQ(out[1], 0.0);  // from a base of 0
  EXPECT_DOUBLE_EQ(out[2], 100.0);
  EXPECT_DOUBLE_EQ(out[4], -100.0);
  EXPECT_EQ(out[5], 0.0);

  // A "flat" window whose high and low differ by one unit in the last place reads as flat.
  const double c = 1455.22, above = std::nextafter(c, 2000.0);
  const std::vector<double> high{above, above, above}, low{c, c, c}, close{c, above, c};
  std::vector<double> k(3);
  stochastic_series(high, low, close, 2, k);
  EXPECT_TRUE(std::isnan(k[0]));
  EXPECT_EQ(k[1], 0.0);
  EXPECT_EQ(k[2], 0.0);
  stochastic_series(std::vector<double>{12, 14, 13}, std::vector<double>{10, 11, 9}, std::vector<double>{11, 13, 10},
                    2, k);
  EXPECT_DOUBLE_EQ(k[1], 75.0);  // (13 − 10)/(14 − 10)
  EXPECT_DOUBLE_EQ(k[2], 20.0);  // (10 − 9)/(14 − 9)
}

// The accumulation line adds ((C − L) − (H − C))/(H − L)·V per bar, nothing for H = L, and starts from 0
// again after a NaN bar.
TEST(SeriesBlocks, AccumulationRestartsAfterANaNBar) {
  const std::vector<double> high{10, 10, 10, 10, 10}, low{8, 8, 8, 8, 10}, close{10, 9, kNaN, 8, 10},
      volume{100, 100, 100, 50, 70};
  std::vector<double> ad(5);
  ad_series(high, low, close, volume, ad);
  EXPECT_EQ(ad[0], 100.0);
  EXPECT_EQ(ad[1], 100.0);
  EXPECT_TRUE(std::isnan(ad[2]));
  EXPECT_EQ(ad[3], -50.0);
  EXPECT_EQ(ad[4], -50.0);
}

}  // namespace
