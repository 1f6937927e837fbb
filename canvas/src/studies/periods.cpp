// Studies that restart with each calendar period of the chart's clock: the one the call names, or by
// default the day for intraday bars, the civil month for daily ones, the civil year for weekly and longer ones.
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "coords/time_axis.hpp"
#include "studies/study.hpp"
#include "studies/vwap_sums.hpp"
#include "studies/window.hpp"

namespace qc::studies {
namespace {

enum class Period : std::uint8_t { Day, Week, Month, Year, Whole };

std::uint64_t saturating_add(std::uint64_t a, std::uint64_t b) {
  return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

// Where the forward steps fall against a bound: how many are below it, the largest of those and the
// smallest of the others.
struct StepSplit {
  std::uint64_t bound;
  std::size_t below = 0;
  std::uint64_t below_max = 0;
  std::uint64_t above_min = std::numeric_limits<std::uint64_t>::max();

  void add(std::uint64_t step) {
    const bool under = step < bound;
    below += under ? 1 : 0;
    below_max = under && step > below_max ? step : below_max;
    above_min = !under && step < above_min ? step : above_min;
  }
  // Whether twice the median of the `count` steps is below twice the bound. The middle steps (one, or
  // two for an even count) are at sorted places count/2 and, for two, the one before; they lie on the
  // same side of the bound unless they are the largest step below it and the smallest above.
  bool median_below(std::size_t count) const {
    const std::size_t upper = count / 2, lower = count % 2 == 1 ? upper : upper - 1;
    if (upper < below) return true;
    if (lower >= below) return false;
    return saturating_add(below_max, above_min) < 2 * bound;
  }
};

// The period that suits the bars' spacing: the median step between consecutive times, counting only
// steps forward. Twice the median is compared, so that the mean of two middle steps stays whole. Only
// where the middle steps fall against a day and a week matters, so one pass that splits the steps at
// those bounds tells it, without sorting or storing them.
Period period_of(std::span<const std::int64_t> time) {
  StepSplit day{86'400}, week{604'800};
  std::size_t count = 0;
  for (std::size_t t = 1; t < time.size(); ++t) {
    // Unsigned subtraction gives the exact step even across the whole int64 range.
    if (time[t] > time[t - 1]) {
      const std::uint64_t step = static_cast<std::uint64_t>(time[t]) - static_cast<std::uint64_t>(time[t - 1]);
      ++count;
      day.add(step);
      week.add(step);
    }
  }
  if (count == 0) return Period::Whole;
  if (day.median_below(count)) return Period::Day;
  if (week.median_below(count)) return Period::Month;
  return Period::Year;
}

// Tells bar after bar whether it begins another calendar period than the bar before, both read on the
// local clock. For days the seconds left in the day are counted down, so that only a bar in another day
// (or back in time) costs a division; for months and years the time axis's weigher tells what changed,
// working out a civil date only when the month changes.
class PeriodBreaks {
 public:
  PeriodBreaks(const Columns& bars, CalendarPeriod period)
      : time_(bars.time), zone_(*bars.zone), period_(chosen(period, bars.time)),
        before_(time_.empty() ? 0 : zone_.local(time_[0])), weigher_(before_), left_(seconds_left(before_)) {}

  // For t = 1, 2, … in turn.
  bool begins(std::size_t t) {
    const std::int64_t now = zone_.local(time_[t]), before = std::exchange(before_, now);
    switch (period_) {
      case Period::Day: {
        const std::uint64_t step = static_cast<std::uint64_t>(now) - static_cast<std::uint64_t>(before);
        if (now >= before && step < left_) {
          left_ -= step;
          return false;
        }
        left_ = seconds_left(now);
        return coords::floor_div(now, kDay) != coords::floor_div(before, kDay);
      }
      // ISO weeks, Monday first: day 0 (1970-01-01) was a Thursday.
      case Period::Week: return week_of(now) != week_of(before);
      // Weights: 70 another civil year, 60 another month.
      case Period::Month: return weigher_.weigh(now) >= 60;
      case Period::Year: return weigher_.weigh(now) >= 70;
      case Period::Whole: break;
    }
    return false;
  }

 private:
  static constexpr std::int64_t kDay = 86'400;

  static Period chosen(CalendarPeriod period, std::span<const std::int64_t> time) {
    switch (period) {
      case CalendarPeriod::automatic: break;
      case CalendarPeriod::day: return Period::Day;
      case CalendarPeriod::week: return Period::Week;
      case CalendarPeriod::month: return Period::Month;
      case CalendarPeriod::year: return Period::Year;
    }
    return period_of(time);
  }

  static std::int64_t week_of(std::int64_t ts) { return coords::floor_div(coords::floor_div(ts, kDay) + 3, 7); }

  static std::uint64_t seconds_left(std::int64_t ts) {
    const std::int64_t into = ts % kDay;  // not through a multiple of the day: near the int64 bounds there is none
    return static_cast<std::uint64_t>(into < 0 ? -into : kDay - into);
  }

  std::span<const std::int64_t> time_;
  const coords::TimeZone& zone_;
  Period period_;
  std::int64_t before_;  // the last bar's local time
  coords::BarWeigher weigher_;
  std::uint64_t left_;  // seconds from the last bar to the end of its local day
};

}  // namespace

// The volume-weighted mean typical price since the period began. A period whose volume so far is 0 has
// no weighted mean; a bar that cannot be used blanks the rest of its period. Each period is its own run:
// the line restarts at a period's first bar instead of being drawn from the last period's value.
bool vwap(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t n = bars.size();
  PeriodBreaks breaks(bars, static_cast<CalendarPeriod>(args.choice[0]));
  std::span<double> line = out.line(0);
  std::vector<std::uint32_t>& runs = out.runs(false);
  std::uint32_t run = 0;
  VwapSums sums;
  bool broken = false;
  for (std::size_t t = 0; t < n; ++t) {
    if (t == 0 || breaks.begins(t)) {
      run += t == 0 ? 0 : 1;
      sums.reset();
      broken = false;
    }
    runs[t] = run;
    const double hlc = bars.high[t] + bars.low[t] + bars.close[t];
    const double v = bars.volume[t];
    if (!finite(hlc) || !finite(v)) broken = true;
    if (broken) {
      line[t] = kNaN;
      continue;
    }
    sums.add(hlc, v);
    line[t] = sums.volume() != 0.0 ? sums.mean() : kNaN;
  }
  return true;
}

namespace {

// The levels PP, R1, R2, R3, S1, S2, S3 of a period whose high, low and last close were h, l and c.
std::array<double, 7> pivot_levels(PivotKind kind, double h, double l, double c) {
  const double range = h - l;
  switch (kind) {
    case PivotKind::fibonacci: {
      const double p = (h + l + c) / 3.0;
      return {p, p + 0.382 * range, p + 0.618 * range, p + range, p - 0.382 * range, p - 0.618 * range, p - range};
    }
    case PivotKind::camarilla: {
      const double p = (h + l + c) / 3.0, r = 1.1 * range;
      return {p, c + r / 12.0, c + r / 6.0, c + r / 4.0, c - r / 12.0, c - r / 6.0, c - r / 4.0};
    }
    case PivotKind::floor:
    case PivotKind::woodie: break;
  }
  // The floor levels; Woodie's weigh the close twice in the pivot.
  const double p = kind == PivotKind::woodie ? (h + l + 2.0 * c) / 4.0 : (h + l + c) / 3.0;
  return {p, 2.0 * p - l, p + range, h + 2.0 * (p - l), 2.0 * p - h, p - range, l - 2.0 * (h - p)};
}

}  // namespace

// Levels from the previous period's high, low and last close, held for the whole period: worked out once
// at its first bar.
bool pivot_points(const Columns& bars, const StudyArgs& args, StudyOutput& out) {
  const std::size_t n = bars.size();
  const auto kind = static_cast<PivotKind>(args.choice[0]);
  std::vector<std::uint32_t>& runs = out.runs(true);
  PeriodBreaks breaks(bars, static_cast<CalendarPeriod>(args.choice[1]));
  std::span<double> pp = out.line(0), r1 = out.line(1), r2 = out.line(2), r3 = out.line(3), s1 = out.line(4),
                    s2 = out.line(5), s3 = out.line(6);
  std::array<double, 7> levels;
  levels.fill(kNaN);  // none until a period has ended, or when it held a bar without prices
  std::uint32_t run = 0;
  double run_high = 0.0, run_low = 0.0;
  bool run_sound = true;
  for (std::size_t t = 0; t < n; ++t) {
    const bool begins = t == 0 || breaks.begins(t);
    if (begins && t > 0) {
      ++run;
      const double h = run_sound ? run_high : kNaN, l = run_sound ? run_low : kNaN, c = bars.close[t - 1];
      levels = pivot_levels(kind, h, l, c);
      if (!finite(h) || !finite(l) || !finite(c)) levels.fill(kNaN);
    }
    runs[t] = run;
    if (begins) {
      run_high = bars.high[t];
      run_low = bars.low[t];
      run_sound = true;
    } else {
      run_high = std::max(run_high, bars.high[t]);
      run_low = std::min(run_low, bars.low[t]);
    }
    run_sound = run_sound && finite(bars.high[t]) && finite(bars.low[t]);
    pp[t] = levels[0];
    r1[t] = levels[1];
    r2[t] = levels[2];
    r3[t] = levels[3];
    s1[t] = levels[4];
    s2[t] = levels[5];
    s3[t] = levels[6];
  }
  return true;
}

}  // namespace qc::studies
