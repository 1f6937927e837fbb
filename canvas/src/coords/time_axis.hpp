// The time axis along the bottom of the chart: which bars get a label, and the label texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "coords/civil_calendar.hpp"
#include "coords/price_mapping.hpp"
#include "coords/price_scale.hpp"
#include "coords/time_format.hpp"

namespace qc::coords {

inline constexpr double kTimeAxisHeight = 30.0;
inline constexpr double kTimeLabelOffset = 6.0;
inline constexpr double kTimeLabelFontSize = 10.0;
// Labels stand at least this far apart, centre to centre, and their texts, by their estimated widths, at least
// kTimeLabelSpace apart: the axis' own texts always fit the gap, longer ones give fewer labels.
inline constexpr double kMinTimeLabelGap = 60.0;
inline constexpr double kTimeLabelSpace = 8.0;

// The estimated width of the label bar i would get; called only for bars of a rank, each at most once.
class TimeLabelWidths {
 public:
  virtual double operator()(std::size_t bar) = 0;

 protected:
  ~TimeLabelWidths() = default;
};

// Weighs timestamps one after another, each against the one before it: 70 another civil year, 60 another
// month, then the largest changed count of weeks 40, days 50, four hours 35, hours 30, half hours 20, five
// minutes 15, minutes 10; 0 when nothing changed. Every count starts at 1970-01-01 00:00 (a Thursday, so
// weeks run Thursday to Wednesday).
//
// The counts nest (a changed day is a changed hour, and so on down to the minute), so the weigher compares
// from the minute upwards and stops at the first count that stayed: bars of one session cost a division
// or two. A calendar date is worked out only when the month changes; within a month a day is placed by its
// number against the month's first day and the next month's.
class BarWeigher {
 public:
  explicit BarWeigher(std::int64_t prev);

  int weigh(std::int64_t ts) {
    for (std::size_t u = 0; u < kSubDayUnits; ++u) {
      const std::int64_t q = floor_div(ts, kUnits[u]);
      if (q == counts_[u]) return u == 0 ? 0 : kWeights[u - 1];
      counts_[u] = q;
    }
    const std::int64_t day = floor_div(ts, kDaySeconds);
    return day == day_ ? kWeights[kSubDayUnits - 1] : weigh_new_day(day);
  }

 private:
  static constexpr std::int64_t kDaySeconds = kSecondsPerDay;
  // Minutes, five minutes, half hours, hours and four hours, each with its weight when it is the largest
  // count that changed.
  static constexpr std::size_t kSubDayUnits = 5;
  static constexpr std::int64_t kUnits[kSubDayUnits] = {60, 300, 1'800, 3'600, 14'400};
  static constexpr int kWeights[kSubDayUnits] = {10, 15, 20, 30, 35};

  int weigh_new_day(std::int64_t day);
  void enter_month(std::int64_t day);

  std::int64_t counts_[kSubDayUnits] = {};
  std::int64_t day_ = 0;
  std::int64_t week_ = 0;
  std::int64_t month_begin_ = 0, month_end_ = 0;  // day numbers, [begin, end)
  std::int64_t year_begin_ = 0, year_end_ = 0;
};

// The weight of ts against prev.
int time_label_weight(std::int64_t ts, std::int64_t prev);

// Labels are taken by rank, years first: 70; 60; 50 and 40 together; 35; 30; 20; 15; 10.
inline constexpr std::uint8_t kTimeRanks = 8;
inline constexpr std::uint8_t kNoTimeRank = 0xff;  // weight 0: never labelled
inline std::uint8_t time_label_rank(int weight) {
  switch (weight) {
    case 70: return 0;
    case 60: return 1;
    case 50:
    case 40: return 2;
    case 35: return 3;
    case 30: return 4;
    case 20: return 5;
    case 15: return 6;
    case 10: return 7;
    default: return kNoTimeRank;
  }
}

// The bars, in increasing index, that get a label: ranks[k] is the rank of bar first + k. Within a rank
// bars are taken by increasing index, each when its x lies at least max(kMinTimeLabelGap, half the sum of
// both labels' widths + kTimeLabelSpace) from every bar taken before it (x = (i + 0.5) * spacing,
// spacing > 0); without `widths`, the labels are the axis' own texts, and kMinTimeLabelGap alone holds.
std::vector<std::size_t> pick_time_labels(std::span<const std::uint8_t> ranks, std::size_t first, double spacing,
                                          TimeLabelWidths* widths = nullptr);

// A weight of the rank, which writes the rank's labels as any of its weights does.
inline int rank_weight(std::uint8_t rank) {
  constexpr int kWeightOfRank[kTimeRanks] = {70, 60, 50, 35, 30, 20, 15, 10};
  return rank < kTimeRanks ? kWeightOfRank[rank] : 0;
}

// Where a label centred on a bar at x is written: moved inward, when its text (text_width wide, by its
// estimate) would come closer than kTimeLabelMargin to x = 0 or to the plot's right edge, to lie exactly that
// far from the edge. A text too wide for both keeps the left margin. The tick stays at the bar.
inline constexpr double kTimeLabelMargin = 2.0;
double time_label_x(double x, double text_width, double plot_width);

// The year for weight 70, the month name for 60, "day month" for 50 and 40, otherwise "hh:mm".
void append_time_label(std::string& out, std::int64_t ts, int weight);
std::string time_label(std::int64_t ts, int weight);

// The bars [first, end) whose x lies within the axis' label limits; empty for a spacing that is not positive.
struct TimeLabelSpan {
  std::size_t first = 0, end = 0;
};
TimeLabelSpan time_label_span(double plot_width, double spacing, std::size_t bar_count);

// The time bar i is weighed against: timestamp_at.before(i) where the clock has such a rule (the bars before a
// view's first), else bar i - 1's, and 1970-01-01 for bar 0.
template <class TimestampAt>
std::int64_t time_before(const TimestampAt& timestamp_at, std::size_t i) {
  if constexpr (requires { timestamp_at.before(i); }) {
    return timestamp_at.before(i);
  } else {
    return i == 0 ? 0 : timestamp_at(i - 1);
  }
}

// The estimated width of a label's text at the axis' size.
double time_label_width(std::string_view text);

// The bars, in increasing index, that the axis labels: timestamp_at(i) gives bar i's timestamp (seconds
// since 1970-01-01). Every bar within the label limits is weighed once; with formats of the user's, the
// labels the choice looks at are written once to be measured. The grid's vertical lines stand at the
// same bars.
template <class TimestampAt>
std::vector<std::size_t> time_label_bars(double plot_width, double spacing, std::size_t bar_count,
                                         TimestampAt&& timestamp_at, const TimeFormat& format = {}) {
  const TimeLabelSpan span = time_label_span(plot_width, spacing, bar_count);
  if (span.first >= span.end) return {};
  const std::size_t count = span.end - span.first;
  const auto ranks = std::make_unique_for_overwrite<std::uint8_t[]>(count);
  BarWeigher weigher(time_before(timestamp_at, span.first));
  for (std::size_t k = 0; k < count; ++k) ranks[k] = time_label_rank(weigher.weigh(timestamp_at(span.first + k)));
  if (!format.labels_set()) return pick_time_labels({ranks.get(), count}, span.first, spacing);

  struct Measured final : TimeLabelWidths {
    const TimestampAt& at;
    const TimeFormat& format;
    const std::uint8_t* ranks;
    std::size_t first;
    std::string text;
    Measured(const TimestampAt& a, const TimeFormat& f, const std::uint8_t* r, std::size_t b)
        : at(a), format(f), ranks(r), first(b) {}
    double operator()(std::size_t bar) override {
      text.clear();
      format.append_label(text, at(bar), rank_weight(ranks[bar - first]));
      return time_label_width(text);
    }
  } measured(timestamp_at, format, ranks.get(), span.first);
  return pick_time_labels({ranks.get(), count}, span.first, spacing, &measured);
}

}  // namespace qc::coords
