// A time zone read from the bytes of a TZif file: its offset from UTC at any instant, and local time.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

namespace qc::coords {

// A day of the year in a daylight-saving rule, with the time of day (local clock seconds, possibly
// negative or past 24 h) at which the change happens.
struct RuleDay {
  enum class Form : std::uint8_t {
    Julian,  // Jn: day n of 1 … 365, 29 February never counted
    Zero,    // n: day n of 0 … 365 from 1 January, 29 February counted
    Month,   // Mm.w.d: weekday d (0 Sunday) of week w (5: the last) of month m
  };
  Form form = Form::Zero;
  int n = 0;  // the day (Julian, Zero) or the month (Month)
  int week = 0, weekday = 0;
  std::int64_t time = 7'200;

  // The day number (from 1970-01-01) on which it falls in a year.
  std::int64_t day_in(std::int64_t year) const;
};

// The rule a TZif file's footer gives for the instants after its last transition: standard time, and
// daylight-saving time between two days of each year when it has one.
struct ZoneRule {
  std::int64_t std_offset = 0;  // seconds east of UTC
  std::optional<std::int64_t> dst_offset;
  RuleDay start, end;  // start read on the standard clock, end on the daylight-saving clock

  std::int64_t offset(std::int64_t ts) const;
  // When a change happens in a year (the start, or the end), in seconds from the start of day `from` (day
  // numbers count from 1970-01-01).
  std::int64_t change(std::int64_t year, bool starts, std::int64_t from = 0) const;
  // A footer's text ("EST5EDT,M3.2.0,M11.1.0"); nullopt when it does not read as a rule.
  static std::optional<ZoneRule> parse(std::string_view text);
};

// UTC when default-constructed.
class TimeZone {
 public:
  // Nullopt for bytes that are not a TZif file of version 2 or later (64-bit data) with a readable footer.
  static std::optional<TimeZone> parse(std::string_view bytes);

  // Seconds east of UTC at ts (seconds since 1970-01-01 00:00 UTC): time type 0 before the first transition,
  // the footer's rule from the last one on (the last transition's type without a rule).
  std::int64_t offset(std::int64_t ts) const;

  // The local clock: ts + offset(ts), held at the ends of the 64-bit range. Every rule that reads a
  // calendar from a timestamp reads it here.
  std::int64_t local(std::int64_t ts) const {
    if (times_.empty() && !rule_ && before_ == 0) return ts;  // UTC, the common case
    const std::int64_t off = offset(ts);
    constexpr std::int64_t lo = std::numeric_limits<std::int64_t>::min(), hi = std::numeric_limits<std::int64_t>::max();
    if (off > 0 && ts > hi - off) return hi;
    if (off < 0 && ts < lo - off) return lo;
    return ts + off;
  }

 private:
  void expand_rule();

  std::vector<std::int64_t> times_;    // transitions, strictly ascending
  std::vector<std::int64_t> offsets_;  // the offset from each transition on
  std::int64_t before_ = 0;            // time type 0
  std::optional<ZoneRule> rule_;
  std::int64_t rule_after_ = 0;  // with a rule, the instants after this one ask it
};

inline const TimeZone kUtc{};

}  // namespace qc::coords
