// Civil dates from day numbers and back, by 400-year eras.
#include "coords/civil_calendar.hpp"

namespace qc::coords {

// Day numbers are shifted to start on 0000-03-01, so that the leap day ends each 4-, 100- and 400-year
// cycle; eras of 400 years (146,097 days) then repeat exactly. For |ts| < 2^63 the day number stays
// within ±1.1e14, far from any overflow.
CivilDate civil_date(std::int64_t days) {
  const std::int64_t z = days + 719'468;
  const std::int64_t era = floor_div(z, 146'097);
  const std::int64_t doe = z - era * 146'097;  // day of the era, 0 … 146096
  const std::int64_t yoe = (doe - doe / 1'460 + doe / 36'524 - doe / 146'096) / 365;  // year of the era, 0 … 399
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);  // day of the year from 1 March, 0 … 365
  const std::int64_t mp = (5 * doy + 2) / 153;                       // month from March, 0 … 11
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, static_cast<int>(doy - (153 * mp + 2) / 5 + 1)};
}

std::int64_t first_day_of(std::int64_t year, int month) {
  const std::int64_t y = month <= 2 ? year - 1 : year;
  const std::int64_t era = floor_div(y, 400);
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
  return era * 146'097 + 365 * yoe + yoe / 4 - yoe / 100 + doy - 719'468;
}

CalendarFields calendar_fields(std::int64_t ts) {
  const std::int64_t rem = ts % kSecondsPerDay;  // ts - days * kSecondsPerDay would overflow at the most negative ts
  const std::int64_t sec = rem < 0 ? rem + kSecondsPerDay : rem;
  const CivilDate date = civil_date(floor_div(ts, kSecondsPerDay));
  CalendarFields f;
  f.year = date.year;
  f.month = date.month;
  f.day = date.day;
  f.hour = static_cast<int>(sec / 3'600);
  f.minute = static_cast<int>(sec % 3'600 / 60);
  return f;
}

}  // namespace qc::coords
