// The directives of a time format, written from the civil calendar.
#include "coords/time_format.hpp"

#include <charconv>

#include "coords/bar_dates.hpp"
#include "coords/civil_calendar.hpp"
#include "coords/time_axis.hpp"

namespace qc::coords {
namespace {

constexpr std::string_view kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
// From Sunday, as tm_wday counts.
constexpr std::string_view kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};

void append_int(std::string& out, std::int64_t v) {
  char buf[24];
  out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// v (0 to 999) in `width` digits, led by `pad`.
void append_padded(std::string& out, int v, int width, char pad = '0') {
  char digits[3] = {pad, pad, pad};
  for (int i = width - 1; i >= 0; --i) {
    if (v > 0 || i == width - 1) digits[i] = static_cast<char>('0' + v % 10);
    v /= 10;
  }
  out.append(digits, static_cast<std::size_t>(width));
}

// The bytes of the directive letter at text[i]: a whole UTF-8 character.
std::size_t letter_bytes(std::string_view text, std::size_t i) {
  std::size_t n = 1;
  if (static_cast<unsigned char>(text[i]) >= 0x80) {
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
  }
  return n;
}

}  // namespace

std::optional<std::string_view> unknown_time_directive(std::string_view format) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 == format.size()) return format.substr(i);
    if (kTimeDirectives.find(format[i + 1]) == std::string_view::npos) {
      return format.substr(i, 1 + letter_bytes(format, i + 1));
    }
    ++i;
  }
  return std::nullopt;
}

void append_time(std::string& out, std::int64_t local_seconds, std::string_view format) {
  const std::int64_t day = floor_div(local_seconds, kSecondsPerDay);
  const CalendarFields f = calendar_fields(local_seconds);
  const int second = static_cast<int>(local_seconds - floor_div(local_seconds, 60) * 60);
  const auto weekday = static_cast<std::size_t>(day - floor_div(day + 4, 7) * 7 + 4);  // 1970-01-01 a Thursday
  const std::string_view month = kMonths[f.month - 1];
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%' || i + 1 == format.size()) {
      out += c;
      continue;
    }
    switch (format[++i]) {
      case 'Y': append_int(out, f.year); break;
      case 'y': append_padded(out, static_cast<int>(f.year - floor_div(f.year, 100) * 100), 2); break;
      case 'm': append_padded(out, f.month, 2); break;
      case 'b': out += month.substr(0, 3); break;
      case 'B': out += month; break;
      case 'd': append_padded(out, f.day, 2); break;
      case 'e': append_padded(out, f.day, 2, ' '); break;
      case 'H': append_padded(out, f.hour, 2); break;
      case 'I': append_padded(out, (f.hour + 11) % 12 + 1, 2); break;
      case 'M': append_padded(out, f.minute, 2); break;
      case 'S': append_padded(out, second, 2); break;
      case 'p': out += f.hour < 12 ? "AM" : "PM"; break;
      case 'a': out += kWeekdays[weekday].substr(0, 3); break;
      case 'A': out += kWeekdays[weekday]; break;
      case 'j': append_padded(out, static_cast<int>(day - first_day_of(f.year, 1) + 1), 3); break;
      case '%': out += '%'; break;
      default:
        out += '%';
        out += format[i];
        break;
    }
  }
}

TimeKind time_kind(int weight) {
  if (weight >= 70) return TimeKind::year;
  if (weight >= 60) return TimeKind::month;
  if (weight >= 40) return TimeKind::day;
  return TimeKind::time;
}

const std::optional<std::string>& TimeFormat::of(TimeKind kind) const {
  switch (kind) {
    case TimeKind::year: return year;
    case TimeKind::month: return month;
    case TimeKind::day: return day;
    case TimeKind::time: break;
  }
  return time;
}

void TimeFormat::append_label(std::string& out, std::int64_t ts, int weight) const {
  if (const std::optional<std::string>& format = of(time_kind(weight))) return append_time(out, ts, *format);
  append_time_label(out, ts, weight);
}

void TimeFormat::append_tag(std::string& out, std::int64_t ts, bool with_minutes) const {
  if (tag) return append_time(out, ts, *tag);
  append_bar_time(out, ts, with_minutes);
}

}  // namespace qc::coords
