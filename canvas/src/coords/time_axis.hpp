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

// Every k-th bar is visited, k = ceil(60 / spacing) saturated to an unsigned count and at least 1.
std::uint64_t time_axis_stride(double spacing);

// How much of the calendar changes between prev and ts: 70 year, 60 month, 50 day, 40 week, 35 four hours,
// 30 hour, 20 half hour, 15 five minutes, 10 minute, 0 nothing (365-day years, 30-day months).
int time_label_weight(std::int64_t ts, std::int64_t prev);

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
  // Visits bar i (a multiple of the stride, in increasing order) with its timestamp.
  void visit(std::size_t i, std::int64_t ts);

 private:
  render::SvgBackend& backend_;
  AxisColors colors_;
  render::TextStyle style_;
  double plot_width_;
  double plot_height_;
  double spacing_;
  std::uint64_t stride_;
  std::int64_t prev_ = 0;
  std::string label_;
};

// The whole axis: timestamp_at(i) gives bar i's timestamp (seconds since 1970-01-01).
template <class TimestampAt>
void render_time_axis(render::SvgBackend& backend, const AxisTheme& theme, double plot_width, double plot_height,
                      double spacing, std::size_t bar_count, TimestampAt&& timestamp_at) {
  TimeAxisPainter painter(backend, theme, plot_width, plot_height, spacing);
  const std::uint64_t k = painter.stride();
  for (std::size_t i = 0; i < bar_count; i += k) {
    painter.visit(i, timestamp_at(i));
    if (bar_count - i <= k) break;
  }
}

}  // namespace qc::coords
