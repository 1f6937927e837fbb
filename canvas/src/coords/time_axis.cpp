// Time-axis label selection on the proleptic Gregorian calendar (UTC) and its drawing.
#include "coords/time_axis.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace qc::coords {
namespace {

constexpr std::int64_t kDay = 86'400;

// Below a month change, the first of these units whose count differs gives the weight. Weeks are counted
// from 1970-01-01, a Thursday, as the day counts are.
struct Boundary {
  std::int64_t unit;
  int weight;
};
constexpr Boundary kBoundaries[] = {
    {604'800, 40}, {kDay, 50}, {14'400, 35}, {3'600, 30}, {1'800, 20}, {300, 15}, {60, 10},
};

constexpr std::string_view kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Quotient rounded toward negative infinity; the divisor is positive.
constexpr std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return a % b < 0 ? q - 1 : q;
}

void append_int(std::string& out, std::int64_t v) {
  char buf[24];
  out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void append_two_digits(std::string& out, int v) {
  out += static_cast<char>('0' + v / 10);
  out += static_cast<char>('0' + v % 10);
}

}  // namespace

// Day numbers are shifted to start on 0000-03-01, so that the leap day ends each 4-, 100- and 400-year
// cycle; eras of 400 years (146,097 days) then repeat exactly. For |ts| < 2^63 the day number stays
// within ±1.1e14, far from any overflow.
CalendarFields calendar_fields(std::int64_t ts) {
  const std::int64_t days = floor_div(ts, kDay);
  const std::int64_t rem = ts % kDay;  // ts - days * kDay would overflow at the most negative ts
  const std::int64_t sec = rem < 0 ? rem + kDay : rem;
  const std::int64_t z = days + 719'468;
  const std::int64_t era = floor_div(z, 146'097);
  const std::int64_t doe = z - era * 146'097;  // day of the era, 0 … 146096
  const std::int64_t yoe = (doe - doe / 1'460 + doe / 36'524 - doe / 146'096) / 365;  // year of the era, 0 … 399
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);  // day of the year from 1 March, 0 … 365
  const std::int64_t mp = (5 * doy + 2) / 153;                       // month from March, 0 … 11
  CalendarFields f;
  f.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  f.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  f.year = yoe + era * 400 + (f.month <= 2 ? 1 : 0);
  f.hour = static_cast<int>(sec / 3'600);
  f.minute = static_cast<int>(sec % 3'600 / 60);
  return f;
}

std::uint64_t time_axis_stride(double spacing) {
  const double k = std::ceil(60.0 / spacing);
  constexpr double kLimit = 18446744073709551616.0;  // 2^64
  if (!(k >= 1.0)) return 1;  // negative, zero or NaN
  if (k >= kLimit) return std::numeric_limits<std::uint64_t>::max();
  return static_cast<std::uint64_t>(k);
}

namespace {

// The weight of two timestamps in the same month.
int unit_weight(std::int64_t ts, std::int64_t prev) {
  for (const Boundary& b : kBoundaries) {
    if (floor_div(ts, b.unit) != floor_div(prev, b.unit)) return b.weight;
  }
  return 0;
}

// The day number (from 1970-01-01) of the first day of a month: calendar_fields' date turned back.
std::int64_t first_day_of(std::int64_t year, int month) {
  const std::int64_t y = month <= 2 ? year - 1 : year;
  const std::int64_t era = floor_div(y, 400);
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
  return era * 146'097 + 365 * yoe + yoe / 4 - yoe / 100 + doy - 719'468;
}

}  // namespace

int time_label_weight(std::int64_t ts, const CalendarFields& at, std::int64_t prev, const CalendarFields& prev_at) {
  if (at.year != prev_at.year) return 70;
  if (at.month != prev_at.month) return 60;
  return unit_weight(ts, prev);
}

int time_label_weight(std::int64_t ts, std::int64_t prev) {
  return time_label_weight(ts, calendar_fields(ts), prev, calendar_fields(prev));
}

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

TimeAxisPainter::TimeAxisPainter(render::SvgBackend& backend, const AxisTheme& theme, double plot_width,
                                 double plot_height, double spacing)
    : backend_(backend),
      colors_(AxisColors::from(theme)),
      plot_width_(plot_width),
      plot_height_(plot_height),
      spacing_(spacing),
      stride_(time_axis_stride(spacing)) {
  style_.color = colors_.text;
  style_.font_size = 10.0;
  style_.align = render::TextAlign::Middle;
  style_.baseline = render::TextBaseline::Top;
  backend_.fill_rect({0, plot_height, plot_width + kPriceScaleWidth, kTimeAxisHeight}, colors_.background);
  backend_.line(0, plot_height, plot_width, plot_height, render::StrokeStyle::solid(1.0, colors_.border));
}

TimeAxisPainter::Visit TimeAxisPainter::begin_visit(std::size_t i, std::int64_t ts) {
  Visit v{i, ts, prev_, prev_index_, prev_fields_, calendar_fields(ts), 0, {}, {}};
  v.weight = time_label_weight(ts, v.fields, v.prev, v.prev_fields);
  const CalendarFields& p = v.prev_fields;
  v.prev_year = {first_day_of(p.year, 1), first_day_of(p.year + 1, 1)};
  v.prev_month = {first_day_of(p.year, p.month), p.month == 12 ? v.prev_year.end : first_day_of(p.year, p.month + 1)};
  prev_ = ts;
  prev_index_ = i;
  prev_fields_ = v.fields;
  return v;
}

// The scan may cross thousands of bars per visit, so a bar's year and month are told from its day number
// against the previous visited bar's year and month rather than from its own calendar date.
bool TimeAxisPainter::names_boundary(const Visit& v, std::int64_t ts) const {
  const std::int64_t day = floor_div(ts, kDay);
  int weight = 0;
  if (!v.prev_year.holds(day)) {
    weight = 70;
  } else if (!v.prev_month.holds(day)) {
    weight = 60;
  } else {
    weight = unit_weight(ts, v.prev);
  }
  return weight == v.weight;
}

bool TimeAxisPainter::wants_boundary_bar(const Visit& v) const {
  return v.index > 0 && v.weight >= kBoundaryWeight;
}

void TimeAxisPainter::finish_visit(const Visit& v, std::size_t boundary, std::int64_t boundary_ts) {
  std::size_t at = v.index;
  std::int64_t ts = v.ts;
  const double x_boundary = bar_x(boundary, spacing_);
  if (wants_boundary_bar(v) && (!has_last_x_ || x_boundary - last_x_ >= kMinLabelGap)) {
    at = boundary;
    ts = boundary_ts;
  }
  const double x = bar_x(at, spacing_);
  if (x < 10 || x > plot_width_ - 30) return;
  // Minor boundaries are labelled only on every third visited bar.
  if (v.weight < kBoundaryWeight && v.index != 0) {
    const bool every_third_overflows = stride_ > std::numeric_limits<std::uint64_t>::max() / 3;
    if (every_third_overflows || v.index % (3 * stride_) != 0) return;
  }
  backend_.line(x, plot_height_, x, plot_height_ + kTickLength, render::StrokeStyle::solid(1.0, colors_.border));
  label_.clear();
  append_time_label(label_, ts, v.weight);
  backend_.text(label_, style_, x, plot_height_ + kTimeLabelOffset);
  last_x_ = x;
  has_last_x_ = true;
}

}  // namespace qc::coords
