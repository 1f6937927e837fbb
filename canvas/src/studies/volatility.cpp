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
  Wilder average(args.period());
  line[0] = kNaN;
  for (std::size_t t = 1; t < bars.size(); ++t) {
    const double range = true_range(bars.high[t], bars.low[t], bars.close[t - 1]);
    line[t] = average.step(range) ? average.value() : kNaN;
  }
  return true;
}

// Sample deviation of daily log returns, annualised over 252 trading days, in percent. A return needs
// two positive closes: a close of 0 or below leaves the windows holding its returns without a value.
bool historical_volatility(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const auto c = bars.close;
  std::vector<double> returns(c.size());
  returns[0] = kNaN;
  for (std::size_t t = 1; t < c.size(); ++t) {
    returns[t] = c[t] > 0.0 && c[t - 1] > 0.0 ? std::log(c[t] / c[t - 1]) : kNaN;
  }
  const double scale = 100.0 * std::sqrt(252.0);
  WindowVariance window(returns, args.period());
  const auto line = out.line(0);
  for (std::size_t t = 0; t < c.size(); ++t) {
    line[t] = window.step(t) ? scale * std::sqrt(window.sample_variance()) : kNaN;
  }
  return true;
}

// Sum over 25 bars of the ratio of two chained 9-bar averages of the bar range; a zero double average
// (flat bars) counts as the ratio 1, so flat prices read 25.
bool mass_index(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  constexpr std::size_t kSmoothing = 9, kSum = 25;
  const std::size_t n = bars.size();
  std::vector<double> ratio(n);
  Ema single(kSmoothing), twice(kSmoothing);
  for (std::size_t t = 0; t < n; ++t) {
    const bool first = single.step(bars.high[t] - bars.low[t]);
    // Fed NaN until the first average exists (and after a gap), the second starts with it.
    if (!twice.step(first ? single.value() : kNaN)) {
      ratio[t] = kNaN;
      continue;
    }
    ratio[t] = twice.value() == 0.0 ? 1.0 : single.value() / twice.value();
  }
  sum_series(ratio, kSum, out.line(0));
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
  FedSums<1> sum(p);
  const double pd = static_cast<double>(p);
  const auto line = out.line(0);
  for (std::size_t t = 0; t < c.size(); ++t) {
    // A highest close of 0 gives no percentage (0/0).
    double square = kNaN;
    if (highest.step(t) && highest.value() != 0.0) {
      const double drawdown = 100.0 * (c[t] - highest.value()) / highest.value();
      square = drawdown * drawdown;
    }
    if (sum.step({square})) line[t] = std::sqrt(std::fmax(sum.sum(0), 0.0) / pd);
  }
  return true;
}

// Upward and downward movement (each bar's high against the previous low, its low against the previous
// high) over the period's true range. No range at all reads 0 for both.
bool vortex(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t n = bars.size(), p = args.period();
  const auto h = bars.high;
  const auto l = bars.low;
  FedSums<3> sums(p);  // upward, downward, true range
  const auto plus = out.line(0);
  const auto minus = out.line(1);
  for (std::size_t t = 1; t < n; ++t) {
    if (!sums.step({std::fabs(h[t] - l[t - 1]), std::fabs(l[t] - h[t - 1]),
                    true_range(h[t], l[t], bars.close[t - 1])})) {
      continue;
    }
    // One division for both lines.
    const double range = sums.sum(2);
    const double per_range = range == 0.0 ? 0.0 : 1.0 / range;
    plus[t] = sums.sum(0) * per_range;
    minus[t] = sums.sum(1) * per_range;
  }
  return true;
}

}  // namespace qc::studies
