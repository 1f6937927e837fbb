// The proleptic Gregorian calendar on day numbers and timestamps counted from 1970-01-01 00:00.
#pragma once

#include <cstdint>

namespace qc::coords {

inline constexpr std::int64_t kSecondsPerDay = 86'400;

// Quotient rounded toward negative infinity; the divisor is positive.
constexpr std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return a % b < 0 ? q - 1 : q;
}

// Years are astronomical (year 0 exists, earlier ones are negative).
struct CivilDate {
  std::int64_t year;
  int month;  // 1 … 12
  int day;    // 1 … 31
};

// The date of a day number (days from 1970-01-01).
CivilDate civil_date(std::int64_t days);

// The day number of the first day of a month: civil_date turned back.
std::int64_t first_day_of(std::int64_t year, int month);

// The civil date and time of day of a timestamp in seconds (UTC, or a local clock read the same way).
struct CalendarFields {
  std::int64_t year = 1970;
  int month = 1;  // 1 … 12
  int day = 1;    // 1 … 31
  int hour = 0;
  int minute = 0;
  friend bool operator==(const CalendarFields&, const CalendarFields&) = default;
};
CalendarFields calendar_fields(std::int64_t ts);

}  // namespace qc::coords
