// Oscillators in fixed ranges: directional movement, Aroon, money flows, stochastics and their kin.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "studies/series.hpp"
#include "studies/study.hpp"
#include "studies/window.hpp"

namespace qc::studies {
namespace {

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

// Connors RSI's rank: line[t] = (line[t] + the percent rank of bar t's close change among the 100 before it)/3,
// NaN where a NaN is among them. The count of those below is taken by vector compares (a mask of all ones
// counts −1 in its lane), two values at a time on any 64-bit target and four where the processor can: the
// whole pass is compiled for each, so that the count sits inline in its loop.
constexpr std::size_t kRankWindow = 100;

using Values2 = double __attribute__((vector_size(16)));
using Mask2 = std::int64_t __attribute__((vector_size(16)));
using Values4 = double __attribute__((vector_size(32)));
using Mask4 = std::int64_t __attribute__((vector_size(32)));

template <class Values, class Mask>
[[gnu::always_inline]] inline void add_change_ranks_by(std::span<const double> c, std::span<double> line) {
  constexpr std::size_t kLanes = sizeof(Values) / sizeof(double);
  constexpr std::size_t kHeld = 4096;  // changes held; when full, those still needed move to the front
  static_assert(kRankWindow % kLanes == 0);
  std::vector<double> held(kHeld);
  std::size_t first_held = 0;  // the bar of held[0]
  std::size_t gaps = 0;        // NaN changes among bars t − 100 … t − 1
  for (std::size_t t = 0; t < c.size(); ++t) {
    if (t - first_held == kHeld) {
      std::copy(held.end() - (kRankWindow + 1), held.end(), held.begin());
      first_held += kHeld - (kRankWindow + 1);
    }
    const double prev = t > 0 ? c[t - 1] : kNaN;
    const double change = t > 0 && prev != 0.0 ? c[t] / prev - 1.0 : kNaN;  // NaN when prev is
    held[t - first_held] = change;
    if (t > kRankWindow) {
      gaps += std::isnan(held[t - 1 - first_held]) ? 1 : 0;
      gaps -= std::isnan(held[t - kRankWindow - 1 - first_held]) ? 1 : 0;
    } else if (t > 0 && std::isnan(held[t - 1 - first_held])) {
      ++gaps;
    }
    if (t <= kRankWindow || gaps > 0 || std::isnan(change)) {
      line[t] = kNaN;
      continue;
    }
    const double* const window = held.data() + (t - kRankWindow - first_held);
    Values today;
    for (std::size_t i = 0; i < kLanes; ++i) today[i] = change;
    Mask below = {};
#pragma GCC unroll 50
    for (std::size_t j = 0; j < kRankWindow; j += kLanes) {
      Values some;
      std::memcpy(&some, window + j, sizeof some);
      below -= some < today;
    }
    std::int64_t count = 0;
    for (std::size_t i = 0; i < kLanes; ++i) count += below[i];
    // A product rather than a division at the end of a bar's path through the count.
    line[t] = (line[t] + static_cast<double>(count)) * (1.0 / 3.0);
  }
}

#if defined(__x86_64__) && defined(__GNUC__)
[[gnu::target("avx2")]] void add_change_ranks_wide(std::span<const double> c, std::span<double> line) {
  add_change_ranks_by<Values4, Mask4>(c, line);
}

void add_change_ranks(std::span<const double> c, std::span<double> line) {
  if (__builtin_cpu_supports("avx2")) {
    add_change_ranks_wide(c, line);
  } else {
    add_change_ranks_by<Values2, Mask2>(c, line);
  }
}
#else
void add_change_ranks(std::span<const double> c, std::span<double> line) {
  add_change_ranks_by<Values2, Mask2>(c, line);
}
#endif

constexpr std::size_t kStochasticSmoothing = 3;
constexpr std::size_t kUltimateLongest = 28;

// %K = SMA_3 of the raw stochastic, %D = SMA_d of %K; %K is left blank wherever %D has no value yet, so
// both lines start on the same bar.
void smooth_stochastic(std::span<const double> raw, std::size_t d, StudyOutput& out) {
  const std::span<double> k_line = out.line(0), d_line = out.line(1);
  sma_series(raw, kStochasticSmoothing, k_line);
  sma_series(k_line, d, d_line);
  for (std::size_t t = 0; t < raw.size(); ++t) {
    if (std::isnan(d_line[t])) k_line[t] = kNaN;
  }
}

// Aroon over the p + 1 bars ending at each bar: fn(t, up, down) on every bar, both NaN before bar p and
// where the window holds a NaN.
template <class Fn>
void each_aroon(const Columns& bars, std::size_t p, Fn fn) {
  WindowMax hi(bars.high, p + 1, true);
  WindowMin lo(bars.low, p + 1, true);
  const double pd = static_cast<double>(p);
  for (std::size_t t = 0; t < bars.size(); ++t) {
    const bool h = hi.step(t);
    if (!lo.step(t) || !h) {
      fn(t, kNaN, kNaN);
      continue;
    }
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
  double smoothed = 0.0;  // carried in a register: read back from out, each bar would wait on its store
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
    smoothed = started ? smoothed + 0.5 * (k - smoothed) : k;
    out[t] = smoothed;
    started = true;
  }
}

}  // namespace

bool adx(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  const std::span<double> adx_line = out.line(0), plus_line = out.line(1), minus_line = out.line(2);
  WilderSum plus(p), minus(p), range(p);
  Wilder average(p);
  // Bar 0 has no bar before it to move from.
  if (bars.size() > 0) adx_line[0] = plus_line[0] = minus_line[0] = kNaN;
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
      adx_line[t] = plus_line[t] = minus_line[t] = kNaN;
      continue;
    }
    const double pdi = 100.0 * ratio_or_zero(plus.value(), range.value());
    const double mdi = 100.0 * ratio_or_zero(minus.value(), range.value());
    plus_line[t] = pdi;
    minus_line[t] = mdi;
    adx_line[t] = average.step(100.0 * ratio_or_zero(std::fabs(pdi - mdi), pdi + mdi)) ? average.value() : kNaN;
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
    if (!finite(body) || !finite(range)) {
      line[t] = kNaN;
      continue;
    }
    line[t] = range > 0.0 ? body / range : 0.0;
  }
  return true;
}

bool choppiness(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t p = args.period();
  WindowMax hi(bars.high, p);
  WindowMin lo(bars.low, p);
  // log10(x)/log10(p) as ln(x)/ln(p): the natural logarithm costs the library much less.
  const double scale = 100.0 / std::log(static_cast<double>(p));
  const std::span<double> line = out.line(0);
  slide_sums<1>(
      bars.size(), {p},
      [&](std::size_t t) {
        return std::array{t > 0 ? true_range(bars.high[t], bars.low[t], bars.close[t - 1]) : kNaN};
      },
      [&](std::size_t t, bool full, const std::array<double, 1>& travel) {
        const bool h = hi.step(t);
        if (!lo.step(t) || !h || !full) {
          line[t] = kNaN;
          return;
        }
        // A window without any range has no meaningful choppiness: left blank.
        const double span = hi.value() - lo.value();
        line[t] = span > 0.0 ? scale * std::log(travel[0] / span) : kNaN;
      });
  return true;
}

bool cmf(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::span<double> line = out.line(0);
  slide_sums<2>(
      bars.size(), {args.period(), args.period()},
      [&](std::size_t t) {
        const double h = bars.high[t], l = bars.low[t], c = bars.close[t], v = bars.volume[t], range = h - l;
        // A bar without range moves no money, but its volume still counts.
        return std::array{
            range > 0.0 ? ((c - l) - (h - c)) / range * v : (finite(range) && finite(c) ? 0.0 : kNaN), v};
      },
      [&](std::size_t t, bool full, const std::array<double, 2>& sums) {  // money flow, volume
        // Negative volumes can make the flows outweigh the volume: held in the pane's range.
        line[t] = !full ? kNaN : sums[1] <= 0.0 ? 0.0 : std::clamp(sums[0] / sums[1], -1.0, 1.0);
      });
  return true;
}

bool cmo(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::span<double> line = out.line(0);
  const auto c = bars.close;
  slide_sums<2>(
      c.size(), {args.period(), args.period()},
      [&](std::size_t t) {
        const double d = t > 0 ? c[t] - c[t - 1] : kNaN;  // no close before bar 0 to change from
        // 0·d is 0, or NaN where d is: the gap reaches both sums.
        return std::array{d > 0.0 ? d : 0.0 * d, d < 0.0 ? -d : 0.0 * d};
      },
      [&](std::size_t t, bool full, const std::array<double, 2>& sums) {  // gains, losses
        line[t] = full ? 100.0 * ratio_or_zero(sums[0] - sums[1], sums[0] + sums[1]) : kNaN;
      });
  return true;
}

bool connors_rsi(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::size_t n = bars.size();
  const auto c = bars.close;
  const std::span<double> line = out.line(0);
  // The strengths' sum into the line first; the ranks are added by a second pass, compiled for the
  // processor's vector width.
  Rsi price_rsi(3), streak_rsi(2);
  // Consecutive rising (> 0) or falling (< 0) closes at the bar before, counted in whole numbers: the
  // chain from one bar's streak to the next is then a few integer steps.
  std::int64_t streak = 0;
  bool streak_known = false;  // false at bar 0 and on a bar without a close
  for (std::size_t t = 0; t < n; ++t) {
    const double prev = t > 0 ? c[t - 1] : kNaN;
    const bool price = price_rsi.step(c[t] - prev);
    // An unchanged close, bar 0 and the bar after a gap count 0. Whether the close rose is a coin toss:
    // both continuations are computed and one kept by masks, which compilers do not turn into a jump.
    const bool known = finite(c[t]);
    const std::int64_t up = (streak > 0 ? streak : 0) + 1, down = (streak < 0 ? streak : 0) - 1;
    const std::int64_t rose = -static_cast<std::int64_t>(c[t] > prev);
    const std::int64_t fell = -static_cast<std::int64_t>(c[t] < prev);
    const std::int64_t next = (up & rose) | (down & fell);
    const double move = known && streak_known ? static_cast<double>(next - streak) : kNaN;
    const bool streaked = streak_rsi.step(move);
    streak = known ? next : 0;
    streak_known = known;
    line[t] = price && streaked ? price_rsi.value() + streak_rsi.value() : kNaN;
  }
  add_change_ranks(c, line);
  return true;
}

bool mfi(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::span<double> line = out.line(0);
  double prev = kNaN;  // bar 0 has no typical price before it to compare with
  slide_sums<2>(
      bars.size(), {args.period(), args.period()},
      [&](std::size_t t) {
        const double tp = (bars.high[t] + bars.low[t] + bars.close[t]) / 3.0;
        const double flow = tp * bars.volume[t];
        // Typical prices within rounding of each other count as unchanged. NaN flows where either is missing.
        const bool same = std::fabs(tp - prev) <= 1e-14 * (std::fabs(tp) + std::fabs(prev));
        // Which way the price moved is a coin toss: the flow goes in weighted 1 or 0 rather than by a branch.
        const double rose = static_cast<double>(!same & (tp > prev)), fell = static_cast<double>(!same & (tp < prev));
        const double gap = 0.0 * (flow + prev);
        prev = tp;
        return std::array{flow * rose + gap, flow * fell + gap};
      },
      [&](std::size_t t, bool full, const std::array<double, 2>& sums) {  // money flowing in, out
        // Negative volumes give negative flows: no share of them where they do not add up to a positive
        // total, and a share held within 0 … 100 where one flow is negative.
        const double total = sums[0] + sums[1];
        line[t] = !full ? kNaN : total <= 0.0 ? 0.0 : std::clamp(100.0 * (sums[0] / total), 0.0, 100.0);
      });
  return true;
}

// Wilder's RSI of the closes; a window that moved neither way reads 100, as no loss in it.
bool rsi(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  Rsi strength(args.period());
  const std::span<double> line = out.line(0);
  resumable(out.resume(), bars.size(), strength, [&](std::size_t t) {
    // Bar 0 has no close before it to change from.
    line[t] = t > 0 && strength.step(bars.close[t] - bars.close[t - 1]) ? strength.value(100.0) : kNaN;
  });
  return true;
}

bool schaff_trend_cycle(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::size_t n = bars.size();
  const std::span<double> line = out.line(0);
  // One scratch series, taking turns with the line: each more would cost its pages.
  Scratch scratch(n);
  Ema fast(23), slow(50);
  for (std::size_t t = 0; t < n; ++t) {
    const bool f = fast.step(bars.close[t]);
    scratch[t] = slow.step(bars.close[t]) && f ? fast.value() - slow.value() : kNaN;
  }
  cycle_stage(scratch, line);
  cycle_stage(line, scratch);
  std::copy(scratch.begin(), scratch.end(), line.begin());
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

// %K's range over k bars, smoothed over 3, then %D over d of those.
std::size_t stochastic_reach(const StudyArgs& args) { return args.period(0) + kStochasticSmoothing - 1 + args.period(1) - 1; }

bool stochastic(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  Scratch raw(bars.size());
  stochastic_series(bars.high, bars.low, bars.close, args.period(0), raw);
  smooth_stochastic(raw, args.period(1), out);
  return true;
}

bool tsi(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::span<double> line = out.line(0), signal = out.line(1);
  Ema smooth(13);
  true_strength(bars.close, args.period(0), args.period(1), [&](std::size_t t, double value) {
    line[t] = value;
    signal[t] = smooth.step(value) ? smooth.value() : kNaN;
  });
  return true;
}

// The longest window, and the close before it that its first true range reads.
std::size_t ultimate_oscillator_reach(const StudyArgs&) { return kUltimateLongest + 1; }

bool ultimate_oscillator(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::span<double> line = out.line(0);
  // Buying pressure and true range, each over 7, 14 and 28 bars.
  slide_sums<6>(
      bars.size(), {7, 7, 14, 14, kUltimateLongest, kUltimateLongest},
      [&](std::size_t t) {
        // No close before bar 0 to measure its pressure from.
        const double pressure = t > 0 ? bars.close[t] - min_of(bars.low[t], bars.close[t - 1]) : kNaN;
        const double range = t > 0 ? true_range(bars.high[t], bars.low[t], bars.close[t - 1]) : kNaN;
        return std::array{pressure, range, pressure, range, pressure, range};
      },
      [&](std::size_t t, bool full, const std::array<double, 6>& sums) {
        const double a = 4.0 * ratio_or_zero(sums[0], sums[1]) + 2.0 * ratio_or_zero(sums[2], sums[3]) +
                         ratio_or_zero(sums[4], sums[5]);
        line[t] = full ? 100.0 * a / 7.0 : kNaN;
      });
  return true;
}

bool williams_r(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::span<double> line = out.line(0);
  each_range(bars.high, bars.low, args.period(), [&](std::size_t t, double top, double bottom) {
    const double c = bars.close[t];
    line[t] = !finite(top) || !finite(bottom) || !finite(c) ? kNaN
              : negligible_range(top, bottom)                ? 0.0
                                                             : -100.0 * (top - c) / (top - bottom);
  });
  return true;
}

}  // namespace qc::studies
