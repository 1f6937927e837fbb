// Dates placed on bars: ISO 8601 texts read into a day or a moment, and the bar (or the fractional place
// beyond the bars) that a date selects on a chart's clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "coords/time_zone.hpp"

namespace qc::coords {

// A date as a caller gives it: a whole day or a time on the chart's local clock, or an instant.
struct DateQuery {
  enum class Form : std::uint8_t {
    day,     // value: a day number (days from 1970-01-01) on the local calendar
    local,   // value: seconds on the local clock, read as timestamps are
    instant  // value: seconds since 1970-01-01 00:00 UTC
  };
  Form form = Form::instant;
  std::int64_t value = 0;
};

// "2024-03-01" (a day); "2024-03-01 14:30", "2024-03-01T14:30:05.25" (local); the same with "Z",
// "+01:00", "+0100" or "+01" after it (an instant). Fractions of a second are dropped. Nullopt for any
// other text, and for a date or time that does not exist on the calendar.
std::optional<DateQuery> parse_iso_date(std::string_view text);

// The instant at which the zone's local clock shows `local`: the first of two when the clock is set back,
// and in a gap of the clock (set forward) the local time read with the offset before the gap.
std::int64_t instant_of_local(const TimeZone& zone, std::int64_t local);

// The bars' timestamps (ascending) and the zone their calendar is read in. On a chart drawn as boxes, dates
// select boxes: `boxes` then holds each box's last bar (ascending), and a date selects the first box whose last
// bar is at or after the date's bar (the last box after that).
struct BarClock {
  std::span<const std::int64_t> times;
  const TimeZone* zone = &kUtc;
  std::optional<std::span<const std::size_t>> boxes = std::nullopt;
};

// What a date is used for, which decides how it selects a bar.
enum class DateRole : std::uint8_t {
  bar,       // a signal or marker: a moment's last bar at or before it, a day's first bar
  position,  // a tool's point: as a bar, and a fractional index beyond the bars outside them
  first,     // the first bar of a view: the first bar at or after a moment, or of a day or after it
  last,      // the last bar of a view: the last at or before a moment, or of a day or before it
};

struct DatePlace {
  enum class Outcome : std::uint8_t { found, before_first, after_last };
  Outcome outcome = Outcome::found;
  double index = 0.0;  // whole for every role but position
};

// The place of a date among the bars (or boxes), which must not be empty. A date after the last box's last
// bar is after the last for a view's first, and the last box otherwise.
DatePlace place_date(const BarClock& clock, const DateQuery& date, DateRole role);

// The bar an "is after the last bar" error names: the last bar, or the last box's last bar.
std::size_t last_placed_bar(const BarClock& clock);

// The median interval between consecutive bars in seconds; a day when there are fewer than two bars or the
// median is not positive.
double median_interval(std::span<const std::int64_t> times);

// "YYYY-MM-DD", then " HH:MM" when `with_minutes`, of seconds on a local clock.
void append_bar_time(std::string& out, std::int64_t local_seconds, bool with_minutes);

// A bar's time on the local clock as an error names it: "2024-03-01" when the median interval is a day or
// more, "2024-03-01 14:30" otherwise.
std::string bar_time_text(const BarClock& clock, std::size_t bar);

}  // namespace qc::coords
