// Trend followers drawn over the prices.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "studies/series.hpp"
#include "studies/study.hpp"
#include "studies/window.hpp"

namespace qc::studies {
namespace {

// a when `take`, else b, by masks: the compiler would branch on a comparison of doubles, and where the
// comparison follows the noise of the prices, mispredicted branches cost more than the rest of the bar.
double pick(bool take, double a, double b) {
  const std::uint64_t mask = 0 - static_cast<std::uint64_t>(take);
  const std::uint64_t bits = (std::bit_cast<std::uint64_t>(a) & mask) | (std::bit_cast<std::uint64_t>(b) & ~mask);
  return std::bit_cast<double>(bits);
}

bool finite_bar(const Columns& bars, std::size_t t) { return finite(bars.high[t]) && finite(bars.low[t]); }

// Calls each(begin, end) for every maximal stretch of bars with finite highs and lows: the recursions
// below start afresh after a bar they cannot use, as they do at the first bar. Such a bar has no value
// in `line`.
template <class Each>
void for_each_stretch(const Columns& bars, std::span<double> line, Each&& each) {
  const std::size_t n = bars.size();
  std::size_t t = 0;
  while (t < n) {
    while (t < n && !finite_bar(bars, t)) line[t++] = kNaN;
    const std::size_t begin = t;
    while (t < n && finite_bar(bars, t)) ++t;
    if (begin < t) each(begin, t);
  }
}

// Percent reversals on the bars [begin, end): the first swing of at least d from the extremes so far
// fixes the first point; afterwards a pivot is confirmed once prices turn d against the swing's extreme.
// The extreme of the unfinished swing is the last point. Each bar is blanked as the scan reaches it: the
// points lie at or behind the bar being read, so they are written after their blank.
void zigzag_stretch(const Columns& bars, std::size_t begin, std::size_t end, double d, std::span<double> line) {
  const std::span<const double> h = bars.high, l = bars.low;
  std::size_t ih = begin, il = begin, t = begin + 1;
  bool up = false, found = false;
  std::size_t c = begin;
  line[begin] = kNaN;
  for (; t < end && !found; ++t) {
    line[t] = kNaN;
    if (h[t] > h[ih]) ih = t;
    if (l[t] < l[il]) il = t;
    if (ih > il && h[ih] >= l[il] * (1.0 + d)) {
      line[il] = l[il];
      up = found = true;
      c = ih;
    } else if (il > ih && l[il] <= h[ih] * (1.0 - d)) {
      line[ih] = h[ih];
      found = true;
      c = il;
    }
  }
  if (!found) return;
  for (; t < end; ++t) {
    line[t] = kNaN;
    if (up) {
      if (h[t] > h[c]) {
        c = t;
      } else if (l[t] <= h[c] * (1.0 - d)) {
        line[c] = h[c];
        up = false;
        c = t;
      }
    } else if (l[t] < l[c]) {
      c = t;
    } else if (h[t] >= l[c] * (1.0 + d)) {
      line[c] = l[c];
      up = true;
      c = t;
    }
  }
  line[c] = up ? h[c] : l[c];
}

// Parabolic stop and reverse on the bars [begin, end), from the second of them. The stop never enters
// the last two bars' range; its acceleration starts at step and grows by it with each new extreme, up to maximum.
void psar_stretch(const Columns& bars, std::size_t begin, std::size_t end, double step, double maximum,
                  std::span<double> line) {
  const std::span<const double> h = bars.high, l = bars.low;
  line[begin] = kNaN;
  if (end - begin < 2) return;
  const std::size_t first = begin + 1;
  const double rise = h[first] - h[begin], fall = l[begin] - l[first];
  bool longs = !(fall > 0.0 && fall > rise);
  double ep = longs ? h[first] : l[first];
  double sar = longs ? l[begin] : h[begin];
  double af = step;
  for (std::size_t t = first; t < end; ++t) {
    const std::size_t q = t == first ? first : t - 1;
    if (longs) {
      if (l[t] <= sar) {
        const double out = std::max({ep, h[q], h[t]});
        line[t] = out;
        longs = false;
        af = step;
        ep = l[t];
        sar = std::max({out + af * (ep - out), h[q], h[t]});
        continue;
      }
      line[t] = sar;
      // Whether a bar makes a new extreme is as random as the prices: no branch on it.
      const bool beyond = h[t] > ep;
      ep = std::max(ep, h[t]);
      af = std::min(af + pick(beyond, step, 0.0), maximum);
      sar = std::min({sar + af * (ep - sar), l[q], l[t]});
    } else {
      if (h[t] >= sar) {
        const double out = std::min({ep, l[q], l[t]});
        line[t] = out;
        longs = true;
        af = step;
        ep = h[t];
        sar = std::min({out + af * (ep - out), l[q], l[t]});
        continue;
      }
      line[t] = sar;
      const bool beyond = l[t] < ep;
      ep = std::min(ep, l[t]);
      af = std::min(af + pick(beyond, step, 0.0), maximum);
      sar = std::max({sar + af * (ep - sar), h[q], h[t]});
    }
  }
}

}  // namespace

// Bands m ATRs from the bars' midpoints that only tighten while the trend holds; the close crossing the
// band on its side turns the trend, and the line follows the band under (up) or over (down) the prices.
bool supertrend(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const double m = args.real[1];
  if (!(m >= 0.0 && m <= 3e37)) return false;
  const std::size_t n = bars.size();
  AverageTrueRange atr(bars.high, bars.low, bars.close, args.period());
  std::span<double> line = out.line(0), direction = out.line(1);
  std::vector<std::uint8_t>& up_flags = out.up_flags(0);  // for the runs' colours
  std::vector<std::uint32_t>& runs = out.runs(false);
  std::uint32_t run = 0;  // a new key at every flip and every break
  bool started = false, up = true;
  double upper = 0.0, lower = 0.0;
  for (std::size_t t = 0; t < n; ++t) {
    const double mid = (bars.high[t] + bars.low[t]) / 2.0;
    const bool valued = atr.step(t);
    const double ub = mid + m * atr.value(), lb = mid - m * atr.value();
    if (!valued || !finite(ub) || !finite(lb) || !finite(bars.close[t])) {
      if (started) ++run;
      started = false;
      line[t] = direction[t] = kNaN;
      runs[t] = run;
      continue;
    }
    if (!started) {
      if (t > 0) ++run;
      upper = ub;
      lower = lb;
      up = started = true;
    } else {
      // A band tightens by a minimum (maximum): whether it does follows the noise of the prices, and a
      // branch there would be mispredicted half the time. A close beyond it, which resets it, and a
      // turn of the trend are rare.
      const double prev = bars.close[t - 1], close = bars.close[t];
      upper = prev > upper ? ub : std::min(upper, ub);
      lower = prev < lower ? lb : std::max(lower, lb);
      const bool was_up = up;
      if (up && close < lower) up = false;
      else if (!up && close > upper) up = true;
      if (up != was_up) ++run;
    }
    line[t] = up ? lower : upper;
    direction[t] = up ? 1.0 : -1.0;
    up_flags[t] = up ? 1 : 0;
    runs[t] = run;
  }
  return true;
}

bool zigzag(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const double d = args.real[0] / 100.0;
  std::span<double> line = out.line(0);
  for_each_stretch(bars, line,
                   [&](std::size_t begin, std::size_t end) { zigzag_stretch(bars, begin, end, d, line); });
  return true;
}

bool psar(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  std::span<double> line = out.line(0);
  const double step = args.real[0], maximum = args.real[1];
  for_each_stretch(bars, line,
                   [&](std::size_t begin, std::size_t end) { psar_stretch(bars, begin, end, step, maximum, line); });
  return true;
}

// Midpoints of the tenkan-, kijun- and senkou-bar ranges; the leading spans are drawn kijun - 1 bars ahead
// and the lagging span as many bars back. What would fall past the last bar is not kept.
bool ichimoku(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t lead = args.period(1) - 1;
  const std::size_t n = bars.size();
  std::span<double> tenkan = out.line(0), kijun = out.line(1), span_a = out.line(2), span_b = out.line(3),
                    chikou = out.line(4);
  // The lagging span's line holds each range's lows until the closes go in.
  const auto midpoints = [&](std::size_t p, std::size_t shift, std::span<double> line) {
    if (n <= shift) return;
    range_series(bars.high.first(n - shift), bars.low.first(n - shift), p, line.subspan(shift),
                 chikou.subspan(shift));
    for (std::size_t t = shift; t < n; ++t) line[t] = (line[t] + chikou[t]) / 2.0;
  };
  midpoints(args.period(0), 0, tenkan);
  midpoints(args.period(1), 0, kijun);
  midpoints(args.period(2), lead, span_b);
  // Nothing leads into the first kijun - 1 bars.
  const std::size_t unled = std::min(lead, n);
  std::fill_n(span_a.begin(), unled, kNaN);
  std::fill_n(span_b.begin(), unled, kNaN);
  for (std::size_t t = 0; t + lead < n; ++t) {
    span_a[t + lead] = (tenkan[t] + kijun[t]) / 2.0;
    chikou[t] = bars.close[t + lead];
  }
  std::fill(chikou.begin() + static_cast<std::ptrdiff_t>(n > lead ? n - lead : 0), chikou.end(), kNaN);
  return true;
}

}  // namespace qc::studies
