// The axes painted: price scales with their tags, and the time axis.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "coords/price_scale.hpp"
#include "coords/time_axis.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::coords {
struct PriceMapping;
struct LabelledTicks;
}  // namespace qc::coords

namespace qc::render {

using coords::AxisColors;
using coords::AxisTheme;
using coords::LabelledTicks;
using coords::PriceMapping;
using coords::PriceTicks;
using coords::ScaleNumbers;

// A tag over the scale between x and right, 2 x kPriceTagHalfHeight tall, centred on y and filled with `fill`,
// its text written as the labels are, in the text colour that reads on the fill over the chart's `background`.
void render_price_tag(SvgBackend& backend, double x, double right, double y, std::string_view text,
                      Color fill, Color background);

// Background, border, tick marks and labels of a scale whose left edge is x, over [lo, hi].
void render_price_scale(SvgBackend& backend, const AxisTheme& theme, double x, double top, double height,
                        double lo, double hi, ScaleNumbers numbers = ScaleNumbers::full);
// The same with the ticks price_ticks(lo, hi, height) gave, for a pane that also draws its grid on them.
// Its labels as the pane's `format` writes them, when it has one.
void render_price_scale(SvgBackend& backend, const AxisTheme& theme, double x, double top, double height,
                        double lo, double hi, const PriceTicks& ticks, ScaleNumbers numbers = ScaleNumbers::full,
                        const coords::PriceFormat* format = nullptr);
// A scale whose ticks carry their own labels (a log scale's), placed by the pane's mapping; the labels'
// size by the longest of them.
void render_price_scale(SvgBackend& backend, const AxisTheme& theme, double x, const PriceMapping& pane,
                        const LabelledTicks& ticks, const coords::PriceFormat* format = nullptr);

// Draws the axis box, its tick marks and its labels.
class TimeAxisPainter {
 public:
  TimeAxisPainter(SvgBackend& backend, const AxisTheme& theme, double plot_width, double plot_height,
                  double spacing, const coords::TimeFormat& format);

  // The axis background, its top border and the tick marks of the labelled bars.
  void frame(std::span<const std::size_t> labelled);
  // The label of bar i, which is weighed against prev (1970-01-01 for bar 0).
  void label(std::size_t i, std::int64_t ts, std::int64_t prev);

 private:
  SvgBackend& backend_;
  AxisColors colors_;
  TextStyle style_;
  double plot_width_;
  double plot_height_;
  double spacing_;
  const coords::TimeFormat& format_;
  std::string label_;
};

// The whole axis with its labels at the bars time_label_bars() chose; only those bars are looked at again.
// timestamp_at(i) gives bar i's time on the chart's local clock (seconds from 1970-01-01 00:00 on that
// clock, which bar 0 is weighed against); the labels are written as `format` says.
template <class TimestampAt>
void render_time_axis(SvgBackend& backend, const AxisTheme& theme, double plot_width, double plot_height,
                      double spacing, std::span<const std::size_t> labelled, TimestampAt&& timestamp_at,
                      const coords::TimeFormat& format = {}) {
  TimeAxisPainter painter(backend, theme, plot_width, plot_height, spacing, format);
  painter.frame(labelled);
  for (const std::size_t i : labelled) painter.label(i, timestamp_at(i), coords::time_before(timestamp_at, i));
}

// The same, choosing the labelled bars among bar_count.
template <class TimestampAt>
void render_time_axis(SvgBackend& backend, const AxisTheme& theme, double plot_width, double plot_height,
                      double spacing, std::size_t bar_count, TimestampAt&& timestamp_at) {
  render_time_axis(backend, theme, plot_width, plot_height, spacing,
                   coords::time_label_bars(plot_width, spacing, bar_count, timestamp_at), timestamp_at);
}

}  // namespace qc::render
