// Volatility studies: how far prices range, spread and fall back.
#include <cmath>
#include <vector>

#include "studies/series.hpp"
#include "studies/study.hpp"
#include "studies/window.hpp"

namespace qc::studies {

// Wilder-smoothed true range, fed bar by bar: no whole-series scratch to fill first.
bool atr(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const auto line = out.line(0);
  // The smoothing alone is the state kept between computations, not the columns it reads.
  Wilder average(args.period());
  resumable(out.resume(), bars.size(), average, [&](std::size_t t) {
    line[t] = t > 0 && average.step(true_range(bars.high[t], bars.low[t], bars.close[t - 1])) ? average.value() : kNaN;
  });
  return true;
}

namespace {

// ln(b/a) for positive a and b. Bar to bar prices move little, and then the series of the area hyperbolic
// tangent, ln(b/a) = 2·atanh(u) with u = (b − a)/(b + a), reaches full precision within six terms: a
// division and a few products instead of a library logarithm, the bulk of a bar's work. (b − a is exact
// there, the two being within a factor of 2.) Larger moves take the library's.
double log_ratio(double a, double b) {
  const double u = (b - a) / (b + a);
  if (std::fabs(u) > 1.0 / 128.0) return std::log(b / a);
  const double u2 = u * u;
  return 2.0 * u *
         (1.0 + u2 * (1.0 / 3.0 + u2 * (1.0 / 5.0 + u2 * (1.0 / 7.0 + u2 * (1.0 / 9.0 + u2 * (1.0 / 11.0))))));
}

}  // namespace

// Sample deviation of daily log returns, annualised over 252 trading days, in percent. A return needs
// two positive closes: a close of 0 or below leaves the windows holding its returns without a value.
bool historical_volatility(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const auto c = bars.close;
  const double scale = 100.0 * std::sqrt(252.0);
  FedVariance window(args.period());
  const auto line = out.line(0);
  // The returns of a stretch of bars first, then their windows: apart, the returns' long but independent
  // arithmetic and the windows' chain from bar to bar each run at their own pace.
  double returns[kStretch];
  if (!c.empty()) line[0] = kNaN;  // no return into the first bar
  for (std::size_t begin = 1; begin < c.size(); begin += kStretch) {
    const std::size_t end = c.size() - begin < kStretch ? c.size() : begin + kStretch;
    for (std::size_t t = begin; t < end; ++t) {
      returns[t - begin] = c[t] > 0.0 && c[t - 1] > 0.0 ? log_ratio(c[t - 1], c[t]) : kNaN;
    }
    for (std::size_t t = begin; t < end; ++t) {
      line[t] = window.step(returns[t - begin]) ? scale * std::sqrt(window.sample_variance()) : kNaN;
    }
  }
  return true;
}

// Sum over 25 bars of the ratio of two chained 9-bar averages of the bar range; a zero double average
// (flat bars) counts as the ratio 1, so flat prices read 25.
bool mass_index(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  constexpr std::size_t kSmoothing = 9, kSum = 25;
  const std::span<double> line = out.line(0);
  Ema single(kSmoothing), twice(kSmoothing);
  const auto ratio = [](double s, double d) { return d == 0.0 ? 1.0 : s / d; };
  slide_block_sums<1>(
      line.size(), {kSum},
      [&](std::size_t begin, std::size_t m, const std::array<double*, 1>& values) {
        double* const r = values[0];  // bar t's ratio at r[t − begin]
        in_stretches(
            begin, begin + m,
            [&](std::size_t from, std::size_t to) {
              // Both averages under way: the two chains run without a test, in registers. A non-finite range
              // stays in both to the stretch's end.
              if (!(single.seeded() && twice.seeded())) return false;
              const double k = single.weight(), pd = static_cast<double>(kSmoothing);
              double s = single.value(), d = twice.value();
              for (std::size_t t = from; t < to; ++t) {
                s = EmaRule::next(s, bars.high[t] - bars.low[t], k, pd);
                d = EmaRule::next(d, s, k, pd);
                r[t - begin] = ratio(s, d);
              }
              if (!finite_all(s, d)) return false;
              single.resume(s);
              twice.resume(d);
              return true;
            },
            [&](std::size_t t) {
              const bool first = single.step(bars.high[t] - bars.low[t]);
              // Fed NaN until the first average exists (and after a gap), the second starts with it.
              const bool second = twice.step(first ? single.value() : kNaN);
              r[t - begin] = second ? ratio(single.value(), twice.value()) : kNaN;
            });
      },
      [&](std::size_t t, bool full, const std::array<double, 1>& ratios) { line[t] = full ? ratios[0] : kNaN; });
  return true;
}

bool stddev(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  WindowVariance window(bars.close, args.period());
  const auto line = out.line(0);
  for (std::size_t t = 0; t < bars.size(); ++t) line[t] = window.step(t) ? std::sqrt(window.variance()) : kNaN;
  return true;
}

// Root mean square over the period of the percent drawdown from the period's highest close.
bool ulcer_index(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  const auto c = bars.close;
  WindowMax highest(c, p);
  const double pd = static_cast<double>(p);
  const auto line = out.line(0);
  slide_sums<1>(
      c.size(), {p},
      [&](std::size_t t) {
        // A highest close of 0 gives no percentage (0/0).
        double square = kNaN;
        if (highest.step(t) && highest.value() != 0.0) {
          const double drawdown = 100.0 * (c[t] - highest.value()) / highest.value();
          square = drawdown * drawdown;
        }
        return std::array{square};
      },
      [&](std::size_t t, bool full, const std::array<double, 1>& sum) {
        line[t] = full ? std::sqrt(std::fmax(sum[0], 0.0) / pd) : kNaN;
      });
  return true;
}

// Upward and downward movement (each bar's high against the previous low, its low against the previous
// high) over the period's true range. No range at all reads 0 for both.
bool vortex(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t n = bars.size(), p = args.period();
  const auto h = bars.high;
  const auto l = bars.low;
  const auto plus = out.line(0);
  const auto minus = out.line(1);
  slide_sums<3>(
      n, {p, p, p},
      [&](std::size_t t) {
        if (t == 0) return std::array{kNaN, kNaN, kNaN};  // no movement into the first bar
        return std::array{std::fabs(h[t] - l[t - 1]), std::fabs(l[t] - h[t - 1]),
                          true_range(h[t], l[t], bars.close[t - 1])};
      },
      [&](std::size_t t, bool full, const std::array<double, 3>& sums) {  // upward, downward, true range
        // One division for both lines.
        const double per_range = sums[2] == 0.0 ? 0.0 : 1.0 / sums[2];
        plus[t] = full ? sums[0] * per_range : kNaN;
        minus[t] = full ? sums[1] * per_range : kNaN;
      });
  return true;
}

}  // namespace qc::studies
