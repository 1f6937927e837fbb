// Time-axis label selection on a simple calendar (365-day years, 30-day months) and its drawing.
#include "coords/time_axis.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace qc::coords {
namespace {

constexpr std::int64_t kYear = 31'536'000;
constexpr std::int64_t kMonth = 2'592'000;
constexpr std::int64_t kDay = 86'400;
constexpr std::int64_t kHour = 3'600;

struct Boundary {
  std::int64_t unit;
  int weight;
};
constexpr Boundary kBoundaries[] = {
    {kYear, 70}, {kMonth, 60}, {604'800, 40}, {kDay, 50}, {14'400, 35},
    {kHour, 30}, {1'800, 20},  {300, 15},     {60, 10},
};

constexpr std::string_view kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void append_int(std::string& out, std::int64_t v) {
  char buf[24];
  out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// At least two digits, zero-padded; a negative value keeps its sign ahead of the digits.
void append_two_digits(std::string& out, std::int64_t v) {
  if (v >= 0 && v < 10) out += '0';
  append_int(out, v);
}

}  // namespace

std::uint64_t time_axis_stride(double spacing) {
  const double k = std::ceil(60.0 / spacing);
  constexpr double kLimit = 18446744073709551616.0;  // 2^64
  if (!(k >= 1.0)) return 1;  // negative, zero or NaN
  if (k >= kLimit) return std::numeric_limits<std::uint64_t>::max();
  return static_cast<std::uint64_t>(k);
}

int time_label_weight(std::int64_t ts, std::int64_t prev) {
  for (const Boundary& b : kBoundaries) {
    if (ts / b.unit != prev / b.unit) return b.weight;
  }
  return 0;
}

void append_time_label(std::string& out, std::int64_t ts, int weight) {
  const std::int64_t days = ts / kDay;
  const std::int64_t day_of_year = days - (days / 365) * 365;
  const std::int64_t month = day_of_year / 30;
  const std::string_view month_name = month >= 0 && month < 12 ? kMonthNames[month] : kMonthNames[11];
  switch (weight) {
    case 70:
      append_int(out, 1970 + ts / kYear);
      break;
    case 60:
      out += month_name;
      break;
    case 50:
    case 40:
      append_int(out, day_of_year - 30 * month + 1);
      out += ' ';
      out += month_name;
      break;
    default:
      append_two_digits(out, (ts - days * kDay) / kHour);
      out += ':';
      append_two_digits(out, (ts - (ts / kHour) * kHour) / 60);
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

void TimeAxisPainter::visit(std::size_t i, std::int64_t ts) {
  const std::int64_t prev = prev_;
  prev_ = ts;
  const double x = bar_x(i, spacing_);
  if (x < 10 || x > plot_width_ - 30) return;
  const int weight = time_label_weight(ts, prev);
  // Minor boundaries are labelled only on every third visited bar.
  if (weight < 30 && i != 0) {
    const bool every_third_overflows = stride_ > std::numeric_limits<std::uint64_t>::max() / 3;
    if (every_third_overflows || i % (3 * stride_) != 0) return;
  }
  backend_.line(x, plot_height_, x, plot_height_ + kTickLength, render::StrokeStyle::solid(1.0, colors_.border));
  label_.clear();
  append_time_label(label_, ts, weight);
  backend_.text(label_, style_, x, plot_height_ + kTimeLabelOffset);
}

}  // namespace qc::coords
