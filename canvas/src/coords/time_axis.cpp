// Time-axis label selection on the proleptic Gregorian calendar and its drawing.
#include "coords/time_axis.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace qc::coords {
namespace {

constexpr std::string_view kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void append_int(std::string& out, std::int64_t v) {
  char buf[24];
  out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void append_two_digits(std::string& out, int v) {
  out += static_cast<char>('0' + v / 10);
  out += static_cast<char>('0' + v % 10);
}

// The smallest i in [lo, hi) for which pred holds, or hi; pred is false up to some index and true from it.
template <class Pred>
std::size_t first_index(std::size_t lo, std::size_t hi, Pred&& pred) {
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (pred(mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

}  // namespace

BarWeigher::BarWeigher(std::int64_t prev) {
  for (std::size_t u = 0; u < kSubDayUnits; ++u) counts_[u] = floor_div(prev, kUnits[u]);
  day_ = floor_div(prev, kDaySeconds);
  week_ = floor_div(day_, 7);
  enter_month(day_);
}

int BarWeigher::weigh_new_day(std::int64_t day) {
  const std::int64_t week = floor_div(day, 7);  // a day count and its week count start together
  int weight = 50;
  if (day < year_begin_ || day >= year_end_) {
    weight = 70;
  } else if (day < month_begin_ || day >= month_end_) {
    weight = 60;
  } else if (week != week_) {
    weight = 40;
  }
  day_ = day;
  week_ = week;
  if (weight >= 60) enter_month(day);
  return weight;
}

void BarWeigher::enter_month(std::int64_t day) {
  const CivilDate date = civil_date(day);
  year_begin_ = first_day_of(date.year, 1);
  year_end_ = first_day_of(date.year + 1, 1);
  month_begin_ = first_day_of(date.year, date.month);
  month_end_ = date.month == 12 ? year_end_ : first_day_of(date.year, date.month + 1);
}

int time_label_weight(std::int64_t ts, std::int64_t prev) { return BarWeigher(prev).weigh(ts); }

// Labels already taken split the bars into stretches; within a rank only the bars of a stretch that lie
// clear of both its ends are searched, and after each label taken the search resumes past the bars it
// blocks. The clear bars are found by bisection on the least distance a label keeps (kMinTimeLabelGap, or
// half its own width and the space), so the labels taken are those of the plain rule: by rank, then by
// index, each far enough from all taken before it. Checking a bar against its nearest taken neighbour on
// each side is enough: a label clear of its neighbour is clearer still of the labels beyond it, which stand
// clear of that neighbour in turn.
std::vector<std::size_t> pick_time_labels(std::span<const std::uint8_t> ranks, std::size_t first, double spacing,
                                          TimeLabelWidths* widths) {
  const std::size_t end = first + ranks.size();
  // Each bar's width, measured when first asked for (NaN until then).
  std::vector<double> measured(widths != nullptr ? ranks.size() : 0, std::numeric_limits<double>::quiet_NaN());
  const auto width = [&](std::size_t i) {
    double& w = measured[i - first];
    if (std::isnan(w)) w = (*widths)(i);
    return w;
  };
  // The least distance bar t's label keeps from any other.
  const auto reach = [&](std::size_t t) {
    return widths != nullptr ? std::fmax(kMinTimeLabelGap, width(t) / 2 + kTimeLabelSpace) : kMinTimeLabelGap;
  };
  const auto apart = [&](std::size_t i, std::size_t t) {
    const double d = std::fabs(bar_x(i, spacing) - bar_x(t, spacing));
    if (widths == nullptr) return d >= kMinTimeLabelGap;
    return d >= std::fmax(kMinTimeLabelGap, (width(i) + width(t)) / 2 + kTimeLabelSpace);
  };
  // The first bar after t (and at or after lo) beyond t's reach.
  const auto clear_after = [&](std::size_t t, std::size_t lo, std::size_t hi) {
    const double least = reach(t);
    return first_index(std::max(lo, t + 1), hi,
                       [&](std::size_t i) { return bar_x(i, spacing) - bar_x(t, spacing) >= least; });
  };
  // The first bar at or after lo within t's reach (t lies after them).
  const auto blocked_before = [&](std::size_t t, std::size_t lo) {
    const double least = reach(t);
    return first_index(lo, t, [&](std::size_t i) { return !(bar_x(t, spacing) - bar_x(i, spacing) >= least); });
  };
  constexpr std::size_t kNone = SIZE_MAX;
  std::vector<std::size_t> taken, fresh, merged;
  for (std::uint8_t rank = 0; rank < kTimeRanks; ++rank) {
    fresh.clear();
    std::size_t from = first;
    std::size_t left = kNone;  // the nearest label taken before the stretch
    for (std::size_t k = 0; k <= taken.size(); ++k) {
      const std::size_t right = k < taken.size() ? taken[k] : kNone;
      const std::size_t to = right != kNone ? blocked_before(right, from) : end;
      for (std::size_t i = from; i < to;) {
        const void* hit = std::memchr(ranks.data() + (i - first), rank, to - i);
        if (hit == nullptr) break;
        const std::size_t j = first + static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - ranks.data());
        const std::size_t before = !fresh.empty() && fresh.back() >= from ? fresh.back() : left;
        if ((before == kNone || apart(j, before)) && (right == kNone || apart(j, right))) {
          fresh.push_back(j);
          i = clear_after(j, j, to);
        } else {
          i = j + 1;
        }
      }
      if (right != kNone) {
        left = right;
        from = clear_after(right, first, end);
      }
    }
    merged.resize(taken.size() + fresh.size());
    std::merge(taken.begin(), taken.end(), fresh.begin(), fresh.end(), merged.begin());
    taken.swap(merged);
  }
  return taken;
}

double time_label_width(std::string_view text) { return render::estimated_text_width(text, kTimeLabelFontSize); }

void append_time_label(std::string& out, std::int64_t ts, int weight) {
  const CalendarFields f = calendar_fields(ts);
  const std::string_view month_name = kMonthNames[f.month - 1];
  switch (weight) {
    case 70:
      append_int(out, f.year);
      break;
    case 60:
      out += month_name;
      break;
    case 50:
    case 40:
      append_int(out, f.day);
      out += ' ';
      out += month_name;
      break;
    default:
      append_two_digits(out, f.hour);
      out += ':';
      append_two_digits(out, f.minute);
      break;
  }
}

std::string time_label(std::int64_t ts, int weight) {
  std::string s;
  append_time_label(s, ts, weight);
  return s;
}

double time_label_x(double x, double text_width, double plot_width) {
  const double half = text_width / 2;
  const double right = plot_width - kTimeLabelMargin - half;
  if (x > right) x = right;
  const double left = kTimeLabelMargin + half;
  return x < left ? left : x;
}

// Labels keep 10 px from the left edge and 30 px from the price scale; x grows with the index.
TimeLabelSpan time_label_span(double plot_width, double spacing, std::size_t bar_count) {
  if (!(spacing > 0)) return {};
  const std::size_t first = first_index(0, bar_count, [&](std::size_t i) { return bar_x(i, spacing) >= 10; });
  const double right = plot_width - 30;
  return {first, first_index(first, bar_count, [&](std::size_t i) { return !(bar_x(i, spacing) <= right); })};
}

}  // namespace qc::coords
