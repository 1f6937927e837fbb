// Channels and bands around the prices.
#include <algorithm>
#include <cmath>

#include "studies/series.hpp"
#include "studies/study.hpp"
#include "studies/window.hpp"

namespace qc::studies {
namespace {

// Writes the middle line (0) from middle(t), called for t = 0, 1, 2, … in turn and NaN where it has no
// value, and middle ± width·ATR as the Upper and Lower lines (1 and 2), in one pass so that the two
// smoothings' chains overlap. A width or ATR too large for a double leaves the bar blank rather than
// drawing at infinity.
template <class Middle>
void atr_bands_around(const Columns& bars, std::size_t atr_period, double width, StudyOutput& out,
                      Middle middle) {
  AverageTrueRange atr(bars.high, bars.low, bars.close, atr_period);
  std::span<double> mid = out.line(0), upper = out.line(1), lower = out.line(2);
  for (std::size_t t = 0; t < bars.size(); ++t) {
    const double m = middle(t);
    mid[t] = m;
    if (!atr.step(t)) {
      upper[t] = lower[t] = kNaN;
      continue;
    }
    const double u = m + width * atr.value();
    const double l = m - width * atr.value();
    upper[t] = finite(u) ? u : kNaN;
    lower[t] = finite(l) ? l : kNaN;
  }
}

// The window mean (0) between bands `width` population standard deviations above (1) and below (2).
void deviation_bands(const Columns& bars, std::size_t p, double width, StudyOutput& out) {
  WindowMean mean(bars.close, p);
  WindowVariance spread(bars.close, p);
  const std::span<double> middle = out.line(0), upper = out.line(1), lower = out.line(2);
  for (std::size_t t = 0; t < bars.size(); ++t) {
    const bool m = mean.step(t);
    if (!spread.step(t) || !m) {
      middle[t] = upper[t] = lower[t] = kNaN;
      continue;
    }
    const double centre = mean.mean(), d = std::sqrt(spread.variance()) * width;
    middle[t] = centre;
    upper[t] = centre + d;
    lower[t] = centre - d;
  }
}

// Highest high and lowest low of the last p bars into `upper` and `lower`, each `shift` bars later.
void channel(const Columns& bars, std::size_t p, std::size_t shift, std::span<double> upper,
             std::span<double> lower) {
  const std::size_t lead = std::min(shift, bars.size());  // bars with no window behind them yet
  std::fill_n(upper.begin(), lead, kNaN);
  std::fill_n(lower.begin(), lead, kNaN);
  if (bars.size() <= shift) return;
  const std::size_t n = bars.size() - shift;
  range_series(bars.high.first(n), bars.low.first(n), p, upper.subspan(shift), lower.subspan(shift));
}

}  // namespace

// An EMA of the closes between bands a multiple of the ATR away.
bool keltner(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  Ema ema(args.period());
  atr_bands_around(bars, args.period(2), args.real[1], out,
                   [&](std::size_t t) { return ema.step(bars.close[t]) ? ema.value() : kNaN; });
  return true;
}

bool atr_bands(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  WindowSum sum(bars.close, args.period());
  atr_bands_around(bars, args.period(), args.real[1], out,
                   [&](std::size_t t) { return sum.step(t) ? sum.mean() : kNaN; });
  return true;
}

bool bollinger(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  deviation_bands(bars, args.period(), args.real[1], out);
  return true;
}

// Bollinger's bands, in the same arithmetic.
bool bollinger_filled(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  deviation_bands(bars, args.period(), args.real[1], out);
  return true;
}

// An SMA with bands a percentage of it above and below.
bool envelopes(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  std::span<double> middle = out.line(0), upper = out.line(1), lower = out.line(2);
  sma_series(bars.close, args.period(), middle);
  const double up = 1.0 + args.real[1] / 100.0, down = 1.0 - args.real[1] / 100.0;
  for (std::size_t t = 0; t < bars.size(); ++t) {
    upper[t] = finite(middle[t] * up) ? middle[t] * up : kNaN;
    lower[t] = finite(middle[t] * down) ? middle[t] * down : kNaN;
  }
  return true;
}

bool donchian(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  channel(bars, args.period(), 0, out.line(0), out.line(1));
  return true;
}

// The channel of the p bars before the current one, so that a close can break out of it.
bool price_channel(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  channel(bars, args.period(), 1, out.line(0), out.line(1));
  return true;
}

// Stops one 10-bar ATR inside the 10-bar extremes, taken at their most extreme over the last 9 bars. The
// stop lines hold the extremes, then the stops, then their extremes.
bool chande_kroll_stop(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  constexpr std::size_t kSpan = 10, kStop = 9;
  std::span<double> stop_long = out.line(0), stop_short = out.line(1);
  range_series(bars.high, bars.low, kSpan, stop_long, stop_short);
  AverageTrueRange atr(bars.high, bars.low, bars.close, kSpan);
  for (std::size_t t = 0; t < bars.size(); ++t) {
    const bool a = atr.step(t);
    stop_long[t] = a ? stop_long[t] - atr.value() : kNaN;
    stop_short[t] = a ? stop_short[t] + atr.value() : kNaN;
  }
  range_series(stop_long, stop_short, kStop, stop_long, stop_short);
  return true;
}

}  // namespace qc::studies
