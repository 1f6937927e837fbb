// The time axis along the bottom of the chart: which bars get a label, and the label texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "coords/price_mapping.hpp"
#include "coords/price_scale.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::coords {

inline constexpr double kTimeAxisHeight = 30.0;
inline constexpr double kTimeLabelOffset = 6.0;

// The civil date and time of day of a timestamp (seconds since 1970-01-01 00:00 UTC) on the proleptic
// Gregorian calendar; years are astronomical (year 0 exists, earlier ones are negative).
struct CalendarFields {
  std::int64_t year = 1970;
  int month = 1;  // 1 … 12
  int day = 1;    // 1 … 31
  int hour = 0;
  int minute = 0;
  friend bool operator==(const CalendarFields&, const CalendarFields&) = default;
};
CalendarFields calendar_fields(std::int64_t ts);

// Every k-th bar is visited, k = ceil(60 / spacing) saturated to an unsigned count and at least 1.
std::uint64_t time_axis_stride(double spacing);

// How much of the calendar changes between prev and ts: 70 year, 60 month, then the first changed count of
// weeks 40, days 50, four hours 35, hours 30, half hours 20, five minutes 15, minutes 10; 0 nothing.
int time_label_weight(std::int64_t ts, std::int64_t prev);
int time_label_weight(std::int64_t ts, const CalendarFields& at, std::int64_t prev, const CalendarFields& prev_at);

// The year for weight 70, the month name for 60, "day month" for 50 and 40, otherwise "hh:mm".
void append_time_label(std::string& out, std::int64_t ts, int weight);
std::string time_label(std::int64_t ts, int weight);

// Draws the axis box and the labels of the visited bars one by one; the caller walks the bars.
class TimeAxisPainter {
 public:
  // Draws the axis background and its top border.
  TimeAxisPainter(render::SvgBackend& backend, const AxisTheme& theme, double plot_width, double plot_height,
                  double spacing);

  std::uint64_t stride() const { return stride_; }

  // Visits bar i (a multiple of the stride, in increasing order); timestamp_at(j) gives bar j's timestamp.
  // A boundary of an hour or more is labelled on the bar where it falls, which may lie between the visited
  // bars, unless that would crowd the label before it.
  template <class TimestampAt>
  void visit(std::size_t i, TimestampAt&& timestamp_at) {
    const Visit v = begin_visit(i, timestamp_at(i));
    std::size_t j = i;
    if (wants_boundary_bar(v)) {
      j = v.prev_index + 1;
      while (j < i && !names_boundary(v, timestamp_at(j))) ++j;
    }
    finish_visit(v, j, j == i ? v.ts : timestamp_at(j));
  }

 private:
  static constexpr int kBoundaryWeight = 30;
  static constexpr double kMinLabelGap = 40.0;

  // Day numbers [begin, end).
  struct DaySpan {
    std::int64_t begin = 0, end = 0;
    bool holds(std::int64_t day) const { return day >= begin && day < end; }
  };
  struct Visit {
    std::size_t index;
    std::int64_t ts;
    std::int64_t prev;
    std::size_t prev_index;
    CalendarFields prev_fields;
    CalendarFields fields;
    int weight;
    DaySpan prev_year, prev_month;  // the days of the previous visited bar's year and month
  };
  Visit begin_visit(std::size_t i, std::int64_t ts);
  bool wants_boundary_bar(const Visit& v) const;
  // Whether a bar at ts already has the visit's weight against the previous visited bar.
  bool names_boundary(const Visit& v, std::int64_t ts) const;
  void finish_visit(const Visit& v, std::size_t boundary, std::int64_t boundary_ts);

  render::SvgBackend& backend_;
  AxisColors colors_;
  render::TextStyle style_;
  double plot_width_;
  double plot_height_;
  double spacing_;
  std::uint64_t stride_;
  std::int64_t prev_ = 0;  // the first bar is compared with 1970-01-01 00:00
  std::size_t prev_index_ = 0;
  CalendarFields prev_fields_ = calendar_fields(0);
  double last_x_ = 0.0;
  bool has_last_x_ = false;
  std::string label_;
};

// The whole axis: timestamp_at(i) gives bar i's timestamp (seconds since 1970-01-01).
template <class TimestampAt>
void render_time_axis(render::SvgBackend& backend, const AxisTheme& theme, double plot_width, double plot_height,
                      double spacing, std::size_t bar_count, TimestampAt&& timestamp_at) {
  TimeAxisPainter painter(backend, theme, plot_width, plot_height, spacing);
  const std::uint64_t k = painter.stride();
  for (std::size_t i = 0; i < bar_count; i += k) {
    painter.visit(i, timestamp_at);
    if (bar_count - i <= k) break;
  }
}

}  // namespace qc::coords
