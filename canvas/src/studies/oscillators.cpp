// Oscillators in fixed ranges: directional movement, Aroon, money flows, stochastics and their kin.
#include <cmath>
#include <vector>

#include "studies/series.hpp"
#include "studies/study.hpp"
#include "studies/window.hpp"

namespace qc::studies {
namespace {

using Scratch = std::vector<double>;

double max_of(double a, double b) { return a > b ? a : b; }
double min_of(double a, double b) { return a < b ? a : b; }
double ratio_or_zero(double num, double den) { return den == 0.0 ? 0.0 : num / den; }

// Wilder's running sum as directional movement uses it: the plain sum of the first p − 1 terms, then
// S = S − S/p + x from the p-th term on. Restarts after a non-finite term.
class WilderSum {
 public:
  explicit WilderSum(std::size_t p) : p_(p), pd_(static_cast<double>(p)) {}
  bool step(double x) {
    if (!finite(x)) {
      count_ = 0;
      sum_ = 0.0;
      return false;
    }
    if (count_ + 1 < p_) {
      sum_ += x;
      ++count_;
      return false;
    }
    sum_ = sum_ - sum_ / pd_ + x;
    count_ = p_;
    return true;
  }
  double value() const { return sum_; }

 private:
  std::size_t p_;
  double pd_;
  std::size_t count_ = 0;
  double sum_ = 0.0;
};

// %K = SMA_3 of the raw stochastic, %D = SMA_d of %K; %K is left blank wherever %D has no value yet, so
// both lines start on the same bar.
void smooth_stochastic(std::span<const double> raw, std::size_t d, StudyOutput& out) {
  const std::span<double> k_line = out.line(0), d_line = out.line(1);
  sma_series(raw, 3, k_line);
  sma_series(k_line, d, d_line);
  for (std::size_t t = 0; t < raw.size(); ++t) {
    if (std::isnan(d_line[t])) k_line[t] = kNaN;
  }
}

// Aroon over the p + 1 bars ending at each bar: fn(t, up, down) from bar p on, NaN-free windows only.
template <class Fn>
void each_aroon(const Columns& bars, std::size_t p, Fn fn) {
  WindowMax hi(bars.high, p + 1, true);
  WindowMin lo(bars.low, p + 1, true);
  const double pd = static_cast<double>(p);
  for (std::size_t t = 0; t < bars.size(); ++t) {
    const bool h = hi.step(t);
    if (!lo.step(t) || !h) continue;
    fn(t, 100.0 * (pd - static_cast<double>(t - hi.index())) / pd,
       100.0 * (pd - static_cast<double>(t - lo.index())) / pd);
  }
}

// One stage of the trend cycle: the stochastic of x over 10 values (a flat window keeps the previous
// value, 0 after a start) smoothed halfway towards each new value.
void cycle_stage(std::span<const double> x, std::span<double> out) {
  constexpr std::size_t kCycle = 10;
  WindowMax hi(x, kCycle);
  WindowMin lo(x, kCycle);
  double k = 0.0;
  bool started = false;
  for (std::size_t t = 0; t < x.size(); ++t) {
    const bool h = hi.step(t);
    if (!lo.step(t) || !h) {
      k = 0.0;
      started = false;
      out[t] = kNaN;
      continue;
    }
    const double range = hi.value() - lo.value();
    if (range > 0.0) k = 100.0 * (x[t] - lo.value()) / range;
    out[t] = started ? out[t - 1] + 0.5 * (k - out[t - 1]) : k;
    started = true;
  }
}

}  // namespace

bool adx(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  const std::span<double> adx_line = out.line(0), plus_line = out.line(1), minus_line = out.line(2);
  WilderSum plus(p), minus(p), range(p);
  Wilder average(p);
  for (std::size_t t = 1; t < bars.size(); ++t) {
    const double up = bars.high[t] - bars.high[t - 1];
    const double dn = bars.low[t - 1] - bars.low[t];
    const double tr = true_range(bars.high[t], bars.low[t], bars.close[t - 1]);
    const bool valid = finite(up) && finite(dn) && finite(tr);
    const bool ready = range.step(valid ? tr : kNaN);
    // A tie up == dn gives neither direction.
    plus.step(valid ? (up > dn && up > 0.0 ? up : 0.0) : kNaN);
    minus.step(valid ? (dn > up && dn > 0.0 ? dn : 0.0) : kNaN);
    if (!ready) {
      average.step(kNaN);
      continue;
    }
    const double pdi = 100.0 * ratio_or_zero(plus.value(), range.value());
    const double mdi = 100.0 * ratio_or_zero(minus.value(), range.value());
    plus_line[t] = pdi;
    minus_line[t] = mdi;
    if (average.step(100.0 * ratio_or_zero(std::fabs(pdi - mdi), pdi + mdi))) adx_line[t] = average.value();
  }
  return true;
}

bool aroon(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::span<double> up_line = out.line(0), down_line = out.line(1);
  each_aroon(bars, args.period(), [&](std::size_t t, double up, double down) {
    up_line[t] = up;
    down_line[t] = down;
  });
  return true;
}

bool aroon_oscillator(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::span<double> line = out.line(0);
  each_aroon(bars, args.period(), [&](std::size_t t, double up, double down) { line[t] = up - down; });
  return true;
}

bool balance_of_power(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::span<double> line = out.line(0);
  for (std::size_t t = 0; t < bars.size(); ++t) {
    const double body = bars.close[t] - bars.open[t];
    const double range = bars.high[t] - bars.low[t];
    if (finite(body) && finite(range)) line[t] = range > 0.0 ? body / range : 0.0;
  }
  return true;
}

bool choppiness(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  Scratch tr(bars.size());
  true_range_series(bars.high, bars.low, bars.close, tr);
  WindowSum travel(tr, p);
  WindowMax hi(bars.high, p);
  WindowMin lo(bars.low, p);
  const double scale = 100.0 / std::log10(static_cast<double>(p));
  const std::span<double> line = out.line(0);
  for (std::size_t t = 0; t < bars.size(); ++t) {
    const bool s = travel.step(t);
    const bool h = hi.step(t);
    if (!lo.step(t) || !h || !s) continue;
    // A window without any range has no meaningful choppiness: left blank.
    const double span = hi.value() - lo.value();
    if (span > 0.0) line[t] = scale * std::log10(travel.sum() / span);
  }
  return true;
}

bool cmf(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  Scratch flow(bars.size());
  for (std::size_t t = 0; t < bars.size(); ++t) {
    const double h = bars.high[t], l = bars.low[t], c = bars.close[t], v = bars.volume[t], range = h - l;
    if (!finite(range) || !finite(c) || !finite(v)) {
      flow[t] = kNaN;
    } else {
      // A bar without range moves no money, but its volume still counts.
      flow[t] = range > 0.0 ? ((c - l) - (h - c)) / range * v : 0.0;
    }
  }
  WindowSum money(flow, p), volume(bars.volume, p);
  const std::span<double> line = out.line(0);
  for (std::size_t t = 0; t < bars.size(); ++t) {
    const bool m = money.step(t);
    if (volume.step(t) && m) line[t] = ratio_or_zero(money.sum(), volume.sum());
  }
  return true;
}

bool cmo(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period(), n = bars.size();
  Scratch up(n, kNaN), down(n, kNaN);
  for (std::size_t t = 1; t < n; ++t) {
    const double d = bars.close[t] - bars.close[t - 1];
    up[t] = d > 0.0 ? d : (finite(d) ? 0.0 : kNaN);
    down[t] = d < 0.0 ? -d : (finite(d) ? 0.0 : kNaN);
  }
  WindowSum gains(up, p), losses(down, p);
  const std::span<double> line = out.line(0);
  for (std::size_t t = 0; t < n; ++t) {
    const bool g = gains.step(t);
    if (losses.step(t) && g) {
      line[t] = 100.0 * ratio_or_zero(gains.sum() - losses.sum(), gains.sum() + losses.sum());
    }
  }
  return true;
}

bool connors_rsi(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  constexpr std::size_t kRank = 100;
  const std::size_t n = bars.size();
  const std::span<double> line = out.line(0);
  Scratch price_rsi(n), streak(n), streak_rsi(n), change(n, kNaN);
  rsi_series(bars.close, 3, price_rsi);
  // Consecutive rising (> 0) or falling (< 0) closes; an unchanged close, bar 0 and the bar after a gap
  // count 0.
  for (std::size_t t = 0; t < n; ++t) {
    const double c = bars.close[t];
    if (!finite(c)) {
      streak[t] = kNaN;
      continue;
    }
    const double prev = t > 0 ? bars.close[t - 1] : kNaN;
    const double last = t > 0 && finite(streak[t - 1]) ? streak[t - 1] : 0.0;
    if (!finite(prev) || c == prev) {
      streak[t] = 0.0;
    } else {
      streak[t] = c > prev ? max_of(last, 0.0) + 1.0 : min_of(last, 0.0) - 1.0;
    }
    if (t > 0 && prev != 0.0) change[t] = c / prev - 1.0;  // NaN when prev is
  }
  rsi_series(streak, 2, streak_rsi);
  // Percent rank of today's change among the 100 before it; a NaN anywhere in them leaves no rank.
  std::size_t gaps = 0;  // NaN changes among bars t − 100 … t − 1
  for (std::size_t t = 0; t < n; ++t) {
    if (t > kRank) {
      if (std::isnan(change[t - 1])) ++gaps;
      if (std::isnan(change[t - kRank - 1])) --gaps;
    } else if (t > 0 && std::isnan(change[t - 1])) {
      ++gaps;
    }
    if (t <= kRank || gaps > 0 || std::isnan(change[t])) continue;
    // A fixed-length count without branches, which the compiler turns into vector compares.
    const double today = change[t];
    const double* window = change.data() + (t - kRank);
    double below = 0.0;
    for (std::size_t j = 0; j < kRank; ++j) below += window[j] < today ? 1.0 : 0.0;
    line[t] = (price_rsi[t] + streak_rsi[t] + below) / 3.0;
  }
  return true;
}

bool mfi(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period(), n = bars.size();
  Scratch pos(n, kNaN), neg(n, kNaN);
  double prev = n > 0 ? (bars.high[0] + bars.low[0] + bars.close[0]) / 3.0 : kNaN;
  for (std::size_t t = 1; t < n; ++t) {
    const double tp = (bars.high[t] + bars.low[t] + bars.close[t]) / 3.0;
    const double flow = tp * bars.volume[t];
    if (finite(flow) && finite(prev)) {
      // Typical prices within rounding of each other count as unchanged.
      const bool same = std::fabs(tp - prev) <= 1e-14 * (std::fabs(tp) + std::fabs(prev));
      pos[t] = !same && tp > prev ? flow : 0.0;
      neg[t] = !same && tp < prev ? flow : 0.0;
    }
    prev = tp;
  }
  WindowSum up(pos, p), down(neg, p);
  const std::span<double> line = out.line(0);
  for (std::size_t t = 0; t < n; ++t) {
    const bool u = up.step(t);
    if (down.step(t) && u) line[t] = 100.0 * ratio_or_zero(up.sum(), up.sum() + down.sum());
  }
  return true;
}

bool schaff_trend_cycle(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::size_t n = bars.size();
  Scratch macd(n), slow(n), first(n);
  ema_series(bars.close, 23, macd);
  ema_series(bars.close, 50, slow);
  for (std::size_t t = 0; t < n; ++t) macd[t] -= slow[t];
  cycle_stage(macd, first);
  cycle_stage(first, out.line(0));
  return true;
}

bool stoch_rsi(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  Scratch rsi(bars.size()), raw(bars.size());
  rsi_series(bars.close, p, rsi);
  stochastic_series(rsi, rsi, rsi, p, raw);
  smooth_stochastic(raw, 3, out);
  return true;
}

bool stochastic(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  Scratch raw(bars.size());
  stochastic_series(bars.high, bars.low, bars.close, args.period(0), raw);
  smooth_stochastic(raw, args.period(1), out);
  return true;
}

bool tsi(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  tsi_series(bars.close, args.period(0), args.period(1), out.line(0));
  ema_series(out.line(0), 13, out.line(1));
  return true;
}

bool ultimate_oscillator(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::size_t n = bars.size();
  Scratch buying(n, kNaN), range(n);
  true_range_series(bars.high, bars.low, bars.close, range);
  for (std::size_t t = 1; t < n; ++t) {
    buying[t] = bars.close[t] - min_of(bars.low[t], bars.close[t - 1]);
    if (!finite(buying[t]) || !finite(range[t])) buying[t] = range[t] = kNaN;
  }
  // Both columns are NaN on the same bars, so the longest window being full means all six are.
  WindowSum b7(buying, 7), r7(range, 7), b14(buying, 14), r14(range, 14), b28(buying, 28), r28(range, 28);
  const std::span<double> line = out.line(0);
  for (std::size_t t = 0; t < n; ++t) {
    b7.step(t);
    r7.step(t);
    b14.step(t);
    r14.step(t);
    b28.step(t);
    if (!r28.step(t)) continue;
    const double a = 4.0 * ratio_or_zero(b7.sum(), r7.sum()) + 2.0 * ratio_or_zero(b14.sum(), r14.sum()) +
                     ratio_or_zero(b28.sum(), r28.sum());
    line[t] = 100.0 * a / 7.0;
  }
  return true;
}

bool williams_r(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  WindowMax hi(bars.high, p);
  WindowMin lo(bars.low, p);
  const std::span<double> line = out.line(0);
  for (std::size_t t = 0; t < bars.size(); ++t) {
    const bool h = hi.step(t);
    if (!lo.step(t) || !h || !finite(bars.close[t])) continue;
    const double top = hi.value(), bottom = lo.value();
    line[t] = negligible_range(top, bottom) ? 0.0 : -100.0 * (top - bars.close[t]) / (top - bottom);
  }
  return true;
}

}  // namespace qc::studies
