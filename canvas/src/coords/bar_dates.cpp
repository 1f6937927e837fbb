// Reading ISO 8601 dates and finding the bars they select, by binary search on the bars' timestamps.
#include "coords/bar_dates.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "coords/civil_calendar.hpp"
#include "coords/text_cursor.hpp"

namespace qc::coords {
namespace {

// A left-to-right reader of fixed-width digit fields and single characters.
class Reader : public TextCursor {
 public:
  using TextCursor::TextCursor;
  bool eat_any(std::string_view set) {
    if (i_ < s_.size() && set.find(s_[i_]) != std::string_view::npos) {
      ++i_;
      return true;
    }
    return false;
  }
  // Exactly `width` digits, at most `max`.
  std::optional<int> digits(int width, int max) {
    int v = 0;
    for (int k = 0; k < width; ++k) {
      if (i_ >= s_.size() || s_[i_] < '0' || s_[i_] > '9') return std::nullopt;
      v = v * 10 + (s_[i_++] - '0');
    }
    if (v > max) return std::nullopt;
    return v;
  }
  void skip_digits() {
    while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
  }
  bool at_digit() const { return i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9'; }
};

// The offset after a time: "Z", or a sign and hh, hhmm or hh:mm; seconds east of UTC.
std::optional<std::int64_t> read_offset(Reader& r) {
  if (r.eat_any("Zz")) return 0;
  const bool negative = r.eat('-');
  if (!negative && !r.eat('+')) return std::nullopt;
  const std::optional<int> hours = r.digits(2, 23);
  if (!hours) return std::nullopt;
  int minutes = 0;
  if (!r.done()) {
    r.eat(':');
    const std::optional<int> m = r.digits(2, 59);
    if (!m) return std::nullopt;
    minutes = *m;
  }
  const std::int64_t seconds = std::int64_t{*hours} * 3'600 + minutes * 60;
  return negative ? -seconds : seconds;
}

// Bar i's day number on the local calendar.
std::int64_t local_day(const BarClock& clock, std::size_t i) {
  return floor_div(clock.zone->local(clock.times[i]), kSecondsPerDay);
}

// The fractional index of an instant outside the bars, at the median interval from the nearer end.
double beyond(const BarClock& clock, std::int64_t instant) {
  const std::size_t n = clock.times.size();
  const double step = median_interval(clock.times);
  const auto from = [&](std::int64_t t) { return (static_cast<double>(instant) - static_cast<double>(t)) / step; };
  if (instant < clock.times.front()) return from(clock.times.front());
  return static_cast<double>(n - 1) + from(clock.times.back());
}

DatePlace found(std::size_t i) { return {DatePlace::Outcome::found, static_cast<double>(i)}; }

DatePlace place_moment(const BarClock& clock, std::int64_t t, DateRole role) {
  const auto times = clock.times;
  const std::size_t n = times.size();
  if (role == DateRole::first) {
    const std::size_t j = static_cast<std::size_t>(std::lower_bound(times.begin(), times.end(), t) - times.begin());
    return j == n ? DatePlace{DatePlace::Outcome::after_last, 0.0} : found(j);
  }
  const std::size_t k = static_cast<std::size_t>(std::upper_bound(times.begin(), times.end(), t) - times.begin());
  if (role == DateRole::position && (k == 0 || t > times.back())) return {DatePlace::Outcome::found, beyond(clock, t)};
  return k == 0 ? DatePlace{DatePlace::Outcome::before_first, 0.0} : found(k - 1);
}

DatePlace place_day(const BarClock& clock, std::int64_t day, DateRole role) {
  const std::size_t n = clock.times.size();
  // The first bar whose day is not before `day` (k: not after it), by a binary search on the bars' days.
  const auto first_not_before = [&](std::int64_t d) {
    std::size_t lo = 0, hi = n;
    while (lo < hi) {
      const std::size_t mid = lo + (hi - lo) / 2;
      if (local_day(clock, mid) < d) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    return lo;
  };
  const std::size_t j = first_not_before(day);
  const bool has = j < n && local_day(clock, j) == day;
  switch (role) {
    case DateRole::first:
      return j == n ? DatePlace{DatePlace::Outcome::after_last, 0.0} : found(j);
    case DateRole::last: {
      const std::size_t k = day == std::numeric_limits<std::int64_t>::max() ? n : first_not_before(day + 1);
      return k == 0 ? DatePlace{DatePlace::Outcome::before_first, 0.0} : found(k - 1);
    }
    case DateRole::bar:
    case DateRole::position: break;
  }
  if (has) return found(j);
  if (role == DateRole::position && (j == 0 || j == n)) {
    return {DatePlace::Outcome::found, beyond(clock, instant_of_local(*clock.zone, day * kSecondsPerDay))};
  }
  return j == 0 ? DatePlace{DatePlace::Outcome::before_first, 0.0} : found(j - 1);
}

// A place among the bars as a place among the boxes. Places before the first bar stay as they are (a tool's
// point keeps its fractional index there).
DatePlace on_boxes(std::span<const std::size_t> last_bar, DatePlace place, DateRole role) {
  if (place.outcome != DatePlace::Outcome::found || place.index < 0.0) return place;
  if (last_bar.empty() || place.index > static_cast<double>(last_bar.back())) {
    if (role == DateRole::first || last_bar.empty()) return {DatePlace::Outcome::after_last, 0.0};
    return found(last_bar.size() - 1);
  }
  const auto bar = static_cast<std::size_t>(std::ceil(place.index));
  return found(static_cast<std::size_t>(std::lower_bound(last_bar.begin(), last_bar.end(), bar) - last_bar.begin()));
}

DatePlace place_on_bars(const BarClock& clock, const DateQuery& date, DateRole role) {
  switch (date.form) {
    case DateQuery::Form::day: return place_day(clock, date.value, role);
    case DateQuery::Form::local: return place_moment(clock, instant_of_local(*clock.zone, date.value), role);
    case DateQuery::Form::instant: break;
  }
  return place_moment(clock, date.value, role);
}

}  // namespace

std::optional<DateQuery> parse_iso_date(std::string_view text) {
  Reader r(text);
  const std::optional<int> year = r.digits(4, 9'999);
  if (!year || !r.eat('-')) return std::nullopt;
  const std::optional<int> month = r.digits(2, 12);
  if (!month || *month == 0 || !r.eat('-')) return std::nullopt;
  const std::optional<int> day = r.digits(2, 31);
  const std::int64_t first = first_day_of(*year, *month);
  const std::int64_t next = *month == 12 ? first_day_of(*year + 1, 1) : first_day_of(*year, *month + 1);
  if (!day || *day == 0 || *day > next - first) return std::nullopt;
  const std::int64_t days = first + *day - 1;
  if (r.done()) return DateQuery{DateQuery::Form::day, days};
  if (!r.eat_any("Tt ")) return std::nullopt;
  const std::optional<int> hour = r.digits(2, 23);
  if (!hour || !r.eat(':')) return std::nullopt;
  const std::optional<int> minute = r.digits(2, 59);
  if (!minute) return std::nullopt;
  int second = 0;
  if (r.eat(':')) {
    const std::optional<int> s = r.digits(2, 59);
    if (!s) return std::nullopt;
    second = *s;
    if (r.eat('.') || r.eat(',')) {
      if (!r.at_digit()) return std::nullopt;
      r.skip_digits();
    }
  }
  const std::int64_t clock = days * kSecondsPerDay + *hour * 3'600 + *minute * 60 + second;
  if (r.done()) return DateQuery{DateQuery::Form::local, clock};
  const std::optional<std::int64_t> offset = read_offset(r);
  if (!offset || !r.done()) return std::nullopt;
  return DateQuery{DateQuery::Form::instant, clock - *offset};
}

// A local time shown once is the instant that shows it. One shown twice (the clock set back) is the first,
// and one never shown (the clock set forward) is read with the offset before the change, as Python reads
// a datetime with fold=0. The offsets a day before and after stand for those around any change near it.
std::int64_t instant_of_local(const TimeZone& zone, std::int64_t local) {
  // Held at the ends of the 64-bit range, as the local clock is.
  const auto minus = [](std::int64_t a, std::int64_t b) {
    std::int64_t d = 0;
    if (!__builtin_sub_overflow(a, b, &d)) return d;
    return b > 0 ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
  };
  const std::int64_t before = minus(local, zone.offset(minus(local, kSecondsPerDay)));
  if (zone.local(before) == local) return before;
  const std::int64_t after = minus(local, zone.offset(minus(local, -kSecondsPerDay)));
  return zone.local(after) == local ? after : before;
}


DatePlace place_date(const BarClock& clock, const DateQuery& date, DateRole role) {
  const DatePlace place = place_on_bars(clock, date, role);
  return clock.boxes ? on_boxes(*clock.boxes, place, role) : place;
}

std::size_t last_placed_bar(const BarClock& clock) {
  if (clock.boxes && !clock.boxes->empty()) return clock.boxes->back();
  return clock.times.empty() ? 0 : clock.times.size() - 1;
}

double median_interval(std::span<const std::int64_t> times) {
  constexpr double kDay = static_cast<double>(kSecondsPerDay);
  if (times.size() < 2) return kDay;
  std::vector<double> steps(times.size() - 1);
  for (std::size_t i = 1; i < times.size(); ++i) {
    steps[i - 1] = static_cast<double>(times[i]) - static_cast<double>(times[i - 1]);
  }
  const std::size_t mid = steps.size() / 2;
  std::nth_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(mid), steps.end());
  double median = steps[mid];
  if (steps.size() % 2 == 0) {
    median = (median + *std::max_element(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(mid))) / 2.0;
  }
  return median > 0.0 ? median : kDay;
}

void append_bar_time(std::string& out, std::int64_t local_seconds, bool with_minutes) {
  const CalendarFields f = calendar_fields(local_seconds);
  char text[48];
  if (with_minutes) {
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d %02d:%02d", static_cast<long long>(f.year), f.month, f.day,
                  f.hour, f.minute);
  } else {
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d", static_cast<long long>(f.year), f.month, f.day);
  }
  out += text;
}

std::string bar_time_text(const BarClock& clock, std::size_t bar) {
  std::string text;
  append_bar_time(text, clock.zone->local(clock.times[bar]),
                  median_interval(clock.times) < static_cast<double>(kSecondsPerDay));
  return text;
}

}  // namespace qc::coords
