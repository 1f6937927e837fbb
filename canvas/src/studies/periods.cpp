// Studies that restart with each calendar period: the UTC day for intraday bars, the civil month for
// daily ones, the civil year for weekly and longer ones.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "coords/time_axis.hpp"
#include "studies/study.hpp"
#include "studies/window.hpp"

namespace qc::studies {
namespace {

enum class Period : std::uint8_t { Day, Month, Year, Whole };

std::uint64_t saturating_add(std::uint64_t a, std::uint64_t b) {
  return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

// The period that suits the bars' spacing: the median step between consecutive times, counting only
// steps forward. Twice the median is compared, so that the mean of two middle steps stays whole.
Period period_of(std::span<const std::int64_t> time) {
  std::vector<std::uint64_t> steps;
  steps.reserve(time.size());
  for (std::size_t t = 1; t < time.size(); ++t) {
    // Unsigned subtraction gives the exact step even across the whole int64 range.
    if (time[t] > time[t - 1]) {
      steps.push_back(static_cast<std::uint64_t>(time[t]) - static_cast<std::uint64_t>(time[t - 1]));
    }
  }
  if (steps.empty()) return Period::Whole;
  const std::size_t mid = steps.size() / 2;
  std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(mid), steps.end());
  const std::uint64_t upper = steps[mid];
  const std::uint64_t lower =
      steps.size() % 2 == 1 ? upper
                            : *std::max_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(mid));
  const std::uint64_t twice = saturating_add(lower, upper);
  if (twice < 2 * 86'400) return Period::Day;
  if (twice < 2 * 604'800) return Period::Month;
  return Period::Year;
}

// The index of each bar's period: a run of consecutive bars in the same calendar period. The time
// axis's weigher tells what changed from one bar to the next, working out a civil date only when the
// month changes.
void period_runs(std::span<const std::int64_t> time, std::span<std::uint32_t> runs) {
  if (time.empty()) return;
  const Period period = period_of(time);
  // Weights: 70 another civil year, 60 another month, 40 or 50 another UTC day.
  const int threshold = period == Period::Day ? 40 : period == Period::Month ? 60 : 70;
  coords::BarWeigher weigher(time[0]);
  std::uint32_t run = 0;
  runs[0] = 0;
  for (std::size_t t = 1; t < time.size(); ++t) {
    if (period != Period::Whole && weigher.weigh(time[t]) >= threshold) ++run;
    runs[t] = run;
  }
}

}  // namespace

// The volume-weighted mean typical price since the period began. A period whose volume so far is 0 has
// no weighted mean; a bar that cannot be used blanks the rest of its period.
bool vwap(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::size_t n = bars.size();
  std::vector<std::uint32_t> runs(n);
  period_runs(bars.time, runs);
  std::span<double> line = out.line(0);
  double weighted = 0.0, volume = 0.0;
  bool broken = false;
  for (std::size_t t = 0; t < n; ++t) {
    if (t == 0 || runs[t] != runs[t - 1]) {
      weighted = volume = 0.0;
      broken = false;
    }
    const double tp = (bars.high[t] + bars.low[t] + bars.close[t]) / 3.0;
    const double v = bars.volume[t];
    if (!finite(tp) || !finite(v)) broken = true;
    if (broken) continue;
    weighted += tp * v;
    volume += v;
    if (volume != 0.0) line[t] = weighted / volume;
  }
  return true;
}

// Floor-trader levels from the previous period's high, low and last close, held for the whole period.
bool pivot_points(const Columns& bars, const StudyArgs&, StudyOutput& out) {
  const std::size_t n = bars.size();
  std::vector<std::uint32_t>& runs = out.runs(true);
  period_runs(bars.time, runs);
  std::span<double> pp = out.line(0), r1 = out.line(1), r2 = out.line(2), r3 = out.line(3), s1 = out.line(4),
                    s2 = out.line(5), s3 = out.line(6);
  // The previous period's figures; NaN until one has ended, or when it held a bar without prices.
  double h = kNaN, l = kNaN, c = kNaN;
  double run_high = 0.0, run_low = 0.0;
  bool run_sound = true;
  for (std::size_t t = 0; t < n; ++t) {
    if (t > 0 && runs[t] != runs[t - 1]) {
      h = run_sound ? run_high : kNaN;
      l = run_sound ? run_low : kNaN;
      c = bars.close[t - 1];
    }
    if (t == 0 || runs[t] != runs[t - 1]) {
      run_high = bars.high[t];
      run_low = bars.low[t];
      run_sound = true;
    } else {
      run_high = std::max(run_high, bars.high[t]);
      run_low = std::min(run_low, bars.low[t]);
    }
    run_sound = run_sound && finite(bars.high[t]) && finite(bars.low[t]);
    if (!finite(h) || !finite(l) || !finite(c)) continue;
    const double p = (h + l + c) / 3.0;
    pp[t] = p;
    r1[t] = 2.0 * p - l;
    s1[t] = 2.0 * p - h;
    r2[t] = p + (h - l);
    s2[t] = p - (h - l);
    r3[t] = h + 2.0 * (p - l);
    s3[t] = l - 2.0 * (h - p);
  }
  return true;
}

}  // namespace qc::studies
