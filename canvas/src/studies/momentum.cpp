// Oscillators about zero: price changes, their rates and smoothings, and prices detrended by an average.
#include <algorithm>
#include <cmath>
#include <vector>

#include "studies/mean_deviation.hpp"
#include "studies/series.hpp"
#include "studies/study.hpp"
#include "studies/window.hpp"

namespace qc::studies {
namespace {

// The fixed windows of the studies without a period, which their reaches read too.
constexpr std::size_t kAwesomeFast = 5, kAwesomeSlow = 34;
constexpr std::size_t kCoppockLonger = 14, kCoppockWeighted = 10;
constexpr std::size_t kSymmetricBars = 4;
struct KstLeg {
  std::size_t roc, sma;
  double weight;
};
constexpr KstLeg kKstLegs[] = {{10, 10, 1.0}, {15, 10, 2.0}, {20, 10, 3.0}, {30, 15, 4.0}};
constexpr std::size_t kKstSignal = 9;

Scratch midpoints(const Columns& bars) {
  Scratch mid(bars.size());
  for (std::size_t t = 0; t < mid.size(); ++t) mid[t] = (bars.high[t] + bars.low[t]) / 2.0;
  return mid;
}

// SMA_5 − SMA_34 of the bars' midpoints, handed to take(t, value) for t = 0, 1, 2, … (NaN where it has none).
template <class Take>
void awesome(const Columns& bars, Take&& take) {
  slide_sums<2>(
      bars.size(), {kAwesomeFast, kAwesomeSlow},
      [&](std::size_t t) {
        const double mid = (bars.high[t] + bars.low[t]) / 2.0;
        return std::array{mid, mid};
      },
      [&](std::size_t t, bool full, const std::array<double, 2>& sums) {
        take(t, full ? sums[0] / double{kAwesomeFast} - sums[1] / double{kAwesomeSlow} : kNaN);
      });
}

// Histogram bars are coloured by change: up where the value is at least the previous bar's, and on the
// first value after a gap. Marked as the values come, rather than in a second pass over them.
class RisingMarks {
 public:
  explicit RisingMarks(std::vector<std::uint8_t>& up) : up_(up.data()) {}

  // Marks bar t (t = 0, 1, 2, … in turn), whose value is v; gives v back.
  double mark(std::size_t t, double v) {
    up_[t] = !(v < prev_);
    prev_ = v;
    return v;
  }

 private:
  std::uint8_t* up_;
  double prev_ = kNaN;
};

// x_t + 2x_{t−1} + 2x_{t−2} + x_{t−3}, over 6: the symmetric four-bar weighting.
void symmetric_weighted(std::span<const double> x, std::span<double> out) {
  for (std::size_t t = 0; t < x.size(); ++t) {
    out[t] = t + 1 < kSymmetricBars ? kNaN : (x[t] + 2.0 * x[t - 1] + 2.0 * x[t - 2] + x[t - 3]) / 6.0;
  }
}

}  // namespace

// EMA_fast − EMA_slow of the closes, its EMA over `signal` values and their difference, in one pass. The
// periods may exceed the bars (the lines then stay blank, as they would); a signal period of 0 gives no
// signal line.
bool macd(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t q = args.period(2);
  struct Averages {
    Ema fast, slow, signal;
  } avg{Ema(args.period(0)), Ema(args.period(1)), Ema(q == 0 ? 1 : q)};
  const std::span<double> line = out.line(0), sig = out.line(1), hist = out.line(2);
  resumable(out.resume(), bars.size(), avg, [&](std::size_t t) {
    const bool f = avg.fast.step(bars.close[t]);
    const double m = avg.slow.step(bars.close[t]) && f ? avg.fast.value() - avg.slow.value() : kNaN;
    line[t] = m;
    // A blank line restarts the signal's seed, as a non-finite close restarts the averages.
    if (!avg.signal.step(m) || q == 0) {
      sig[t] = hist[t] = kNaN;
      return;
    }
    sig[t] = avg.signal.value();
    hist[t] = m - avg.signal.value();
  });
  return true;
}

// The oscillator's slow window, and the bar before, whose value its colour is measured from.
std::size_t awesome_oscillator_reach(const StudyArgs&) { return kAwesomeSlow + 1; }
// The same over the oscillators its 5-bar mean reads.
std::size_t accelerator_oscillator_reach(const StudyArgs&) { return kAwesomeSlow + kAwesomeFast - 1 + 1; }

bool awesome_oscillator(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::span<double> ao = out.line(0);
  RisingMarks rising(out.up_flags(0));
  awesome(bars, [&](std::size_t t, double value) { ao[t] = rising.mark(t, value); });
  return true;
}

bool accelerator_oscillator(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::span<double> ac = out.line(0);
  RisingMarks rising(out.up_flags(0));
  // The oscillator first, then its distance from its own 5-bar mean in place.
  awesome(bars, [&](std::size_t t, double value) { ac[t] = value; });
  slide_sums<1>(
      ac.size(), {kAwesomeFast}, [&](std::size_t t) { return std::array{ac[t]}; },
      [&](std::size_t t, bool full, const std::array<double, 1>& sum) {
        ac[t] = rising.mark(t, full ? ac[t] - sum[0] / double{kAwesomeFast} : kNaN);
      });
  return true;
}

bool cci(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t n = bars.size();
  Scratch typical(n), mean(n), deviation(n);
  for (std::size_t t = 0; t < n; ++t) typical[t] = (bars.high[t] + bars.low[t] + bars.close[t]) / 3.0;
  window_mean_deviation(typical, args.period(), mean, deviation);
  const std::span<double> line = out.line(0);
  for (std::size_t t = 0; t < n; ++t) {
    const double m = mean[t], away = typical[t] - m, dev = deviation[t];
    if (!finite(dev)) {
      line[t] = kNaN;
      continue;
    }
    // What rounding leaves of a flat stretch after moving prices (~1e-16 of the price) reads as zero.
    const double tiny = 1e-14 * std::abs(m);
    line[t] = std::abs(away) <= tiny || dev <= tiny ? 0.0 : away / (0.015 * dev);
  }
  return true;
}

bool chaikin_oscillator(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::span<double> line = out.line(0);
  const double kf = 2.0 / 4.0, ks = 2.0 / 11.0;
  double ad = 0.0, fast = 0.0, slow = 0.0;
  std::size_t since = 0;  // bars since the sums (re)started
  for (std::size_t t = 0; t < line.size(); ++t) {
    const double h = bars.high[t], l = bars.low[t], c = bars.close[t], v = bars.volume[t];
    if (!finite_all(h, l, c, v)) {
      ad = 0.0;
      since = 0;
      line[t] = kNaN;
      continue;
    }
    ad += ad_flow(h, l, c, v);
    // Both averages start at the first A/D value itself, not at a mean of the first few.
    fast = since == 0 ? ad : kf * ad + (1.0 - kf) * fast;
    slow = since == 0 ? ad : ks * ad + (1.0 - ks) * slow;
    line[t] = since >= 9 ? fast - slow : kNaN;
    ++since;
  }
  return true;
}

// The longer rate's bars and the close before them, then as many less one as the WMA weighs.
std::size_t coppock_curve_reach(const StudyArgs&) { return kCoppockLonger + 1 + kCoppockWeighted - 1; }

bool coppock_curve(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  // The two rates summed as they are made: one working column rather than three.
  Scratch sum(bars.size());
  RateOfChange shorter(bars.close, 11), longer(bars.close, kCoppockLonger);
  for (std::size_t t = 0; t < sum.size(); ++t) sum[t] = shorter.step(t) + longer.step(t);
  wma_series(sum, kCoppockWeighted, out.line(0));
  return true;
}

// The mean's window, or the close `back` bars before when it lies further.
std::size_t dpo_reach(const StudyArgs& args) { return std::max(args.period(), args.period() / 2 + 2); }

bool dpo(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period(), back = p / 2 + 1;
  const double pd = static_cast<double>(p);
  const std::span<double> line = out.line(0);
  const auto c = bars.close;
  slide_sums<1>(
      c.size(), {p}, [&](std::size_t t) { return std::array{c[t]}; },
      [&](std::size_t t, bool full, const std::array<double, 1>& sum) {
        line[t] = full && t >= back ? c[t - back] - sum[0] / pd : kNaN;
      });
  return true;
}

bool elder_ray(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::span<double> bull = out.line(0), bear = out.line(1);
  Ema avg(args.period());
  resumable(out.resume(), bull.size(), avg, [&](std::size_t t) {
    if (!avg.step(bars.close[t])) {
      bull[t] = bear[t] = kNaN;
      return;
    }
    bull[t] = bars.high[t] - avg.value();
    bear[t] = bars.low[t] - avg.value();
  });
  return true;
}

bool eom(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  Scratch ease(bars.size(), kNaN);
  for (std::size_t t = 1; t < ease.size(); ++t) {
    const double h = bars.high[t], l = bars.low[t], v = bars.volume[t];
    const double moved = (h + l) / 2.0 - (bars.high[t - 1] + bars.low[t - 1]) / 2.0;
    if (!finite(moved) || !finite(v)) continue;
    // No volume or no range carries no box to divide by: no ease either way.
    ease[t] = v == 0.0 || h == l ? 0.0 : moved / (v / 1e8 / (h - l));
  }
  sma_series(ease, args.period(), out.line(0));
  return true;
}

bool fisher_transform(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const Scratch mid = midpoints(bars);
  const std::span<double> fisher = out.line(0), signal = out.line(1);
  WindowMax highest(mid, args.period());
  WindowMin lowest(mid, args.period());
  double v = 0.0;
  for (std::size_t t = 0; t < mid.size(); ++t) {
    signal[t] = t > 0 ? fisher[t - 1] : kNaN;
    const bool full = highest.step(t);
    if (!lowest.step(t) || !full) {
      fisher[t] = kNaN;
      continue;
    }
    if (t == 0 || !finite(fisher[t - 1])) {  // the first full window starts the recursion at 0
      v = 0.0;
      fisher[t] = 0.0;
      continue;
    }
    // An absolute floor on the range keeps flat windows finite; their position reads −0.5 and F drifts.
    const double low = lowest.value();
    const double range = std::max(highest.value() - low, 0.001);
    v = 0.66 * ((mid[t] - low) / range - 0.5) + 0.67 * v;
    if (v < -0.99) v = -0.999;
    if (v > 0.99) v = 0.999;
    fisher[t] = 0.5 * (std::log((1.0 + v) / (1.0 - v)) + fisher[t - 1]);
  }
  return true;
}

bool force_index(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::span<double> line = out.line(0);
  Ema avg(args.period());
  resumable(out.resume(), line.size(), avg, [&](std::size_t t) {
    // No change into the first bar.
    line[t] = t > 0 && avg.step((bars.close[t] - bars.close[t - 1]) * bars.volume[t]) ? avg.value() : kNaN;
  });
  return true;
}

// The longest leg's rate (the close before it included) and mean, then the signal's mean over those sums.
std::size_t kst_reach(const StudyArgs&) {
  std::size_t leg = 0;
  for (const KstLeg& l : kKstLegs) leg = std::max(leg, l.roc + 1 + l.sma - 1);
  return leg + kKstSignal - 1;
}

bool kst(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::span<double> sum = out.line(0);
  // Each leg's rates are made and averaged as they come, and added to the sum in one pass.
  for (const KstLeg& leg : kKstLegs) {
    RateOfChange rate(bars.close, leg.roc);
    const double sma = static_cast<double>(leg.sma);
    const bool first = &leg == kKstLegs;
    slide_sums<1>(
        sum.size(), {leg.sma}, [&](std::size_t t) { return std::array{rate.step(t)}; },
        [&](std::size_t t, bool full, const std::array<double, 1>& rates) {
          sum[t] = (first ? 0.0 : sum[t]) + leg.weight * (full ? rates[0] / sma : kNaN);
        });
  }
  sma_series(sum, kKstSignal, out.line(1));
  return true;
}

bool linear_regression_slope(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::span<double> line = out.line(0);
  WindowLine fit(bars.close, args.period());
  for (std::size_t t = 0; t < line.size(); ++t) line[t] = fit.step(t) ? fit.slope() : kNaN;
  return true;
}

bool momentum(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  const std::span<double> line = out.line(0);
  std::size_t run = 0;  // finite closes in a row ending at t: the change spans p + 1 of them
  for (std::size_t t = 0; t < line.size(); ++t) {
    run = finite(bars.close[t]) ? run + 1 : 0;
    line[t] = run > p ? bars.close[t] - bars.close[t - p] : kNaN;
  }
  return true;
}

bool pgo(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  const std::span<double> line = out.line(0);
  // The sliding Welford mean is exact on p equal closes, so a flat stretch after moving prices reads 0
  // rather than rounding residue divided by a true range that decays towards 0.
  WindowVariance avg(bars.close, p);
  Ema atr(p);
  for (std::size_t t = 0; t < line.size(); ++t) {
    const bool full = avg.step(t);
    const double range = t > 0 ? true_range(bars.high[t], bars.low[t], bars.close[t - 1]) : kNaN;
    if (!atr.step(range) || !full || atr.value() == 0.0) {
      line[t] = kNaN;
      continue;
    }
    line[t] = (bars.close[t] - avg.mean()) / atr.value();
  }
  return true;
}

// The mean body of the last p bars; the bodies are summed as they come rather than written out first.
bool qstick(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::span<double> line = out.line(0);
  const double p = static_cast<double>(args.period());
  slide_sums<1>(
      line.size(), {args.period()}, [&](std::size_t t) { return std::array{bars.close[t] - bars.open[t]}; },
      [&](std::size_t t, bool full, const std::array<double, 1>& body) { line[t] = full ? body[0] / p : kNaN; });
  return true;
}

bool roc(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  roc_series(bars.close, args.period(), out.line(0));
  return true;
}

// The four-bar weighting, the period's means of it, and the signal's weighting of those.
std::size_t rvi_reach(const StudyArgs& args) { return kSymmetricBars - 1 + args.period() + kSymmetricBars - 1; }

bool rvi(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t n = bars.size();
  Scratch diff(n), vigor(n), range(n);
  for (std::size_t t = 0; t < n; ++t) diff[t] = bars.close[t] - bars.open[t];
  symmetric_weighted(diff, vigor);
  for (std::size_t t = 0; t < n; ++t) diff[t] = bars.high[t] - bars.low[t];
  symmetric_weighted(diff, range);
  // Means exact on p equal terms: a flat stretch's window of zero ranges divides by exactly 0 (no value),
  // not by what a running sum keeps of the prices before it.
  WindowVariance num(vigor, args.period()), den(range, args.period());
  const std::span<double> line = out.line(0);
  for (std::size_t t = 0; t < n; ++t) {
    const bool a = num.step(t);
    if (!den.step(t) || !a || den.mean() == 0.0) {
      line[t] = kNaN;
      continue;
    }
    line[t] = num.mean() / den.mean();
  }
  symmetric_weighted(line, out.line(1));
  return true;
}

bool smi_ergodic(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::span<double> line = out.line(0), signal = out.line(1);
  Ema smooth(5);
  true_strength(bars.close, 20, 5, [&](std::size_t t, double value) {
    line[t] = value / 100.0;
    signal[t] = smooth.step(line[t]) ? smooth.value() : kNaN;
  });
  return true;
}

bool trix(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  const std::span<double> line = out.line(0), signal = out.line(1);
  struct Averages {
    Ema e1, e2, e3, smooth;
    double prev;  // the triple average one bar back
  } run{Ema(p), Ema(p), Ema(p), Ema(9), kNaN};
  Ema &e1 = run.e1, &e2 = run.e2, &e3 = run.e3, &smooth = run.smooth;
  double& prev = run.prev;
  const auto rate_of = [](double e, double before) { return before == 0.0 ? 0.0 : 100.0 * (e / before - 1.0); };
  resumable_ranges(out.resume(), line.size(), run, [&](std::size_t first, std::size_t n) {
    in_stretches(
        first, n,
        [&](std::size_t begin, std::size_t end) {
          // Every average under way: the chains run without a test, in registers. A non-finite close (or
          // rate) on the way stays in the averages to the stretch's end.
          if (!(e1.seeded() && e2.seeded() && e3.seeded() && smooth.seeded() && finite(prev))) return false;
          const double k = e1.weight(), ks = smooth.weight(), pd = static_cast<double>(p);
          double a = e1.value(), b = e2.value(), e = e3.value(), sig = smooth.value(), last = prev;
          for (std::size_t t = begin; t < end; ++t) {
            a = EmaRule::next(a, bars.close[t], k, pd);
            b = EmaRule::next(b, a, k, pd);
            e = EmaRule::next(e, b, k, pd);
            const double rate = rate_of(e, last);
            last = e;
            line[t] = rate;
            signal[t] = sig = EmaRule::next(sig, rate, ks, 9.0);
          }
          if (!finite_all(a, b, e, sig)) return false;
          e1.resume(a);
          e2.resume(b);
          e3.resume(e);
          smooth.resume(sig);
          prev = last;
          return true;
        },
        [&](std::size_t t) {
          const double c = bars.close[t];
          double e = kNaN;
          if (!finite(c)) {  // restart the chained averages with the first
            e2.step(kNaN);
            e3.step(kNaN);
          }
          if (e1.step(c) && e2.step(e1.value()) && e3.step(e2.value())) e = e3.value();
          const double rate = !finite(prev) || !finite(e) ? kNaN : rate_of(e, prev);
          prev = e;
          line[t] = rate;
          // The signal in the same pass.
          signal[t] = smooth.step(rate) ? smooth.value() : kNaN;
        });
  });
  return true;
}

}  // namespace qc::studies
