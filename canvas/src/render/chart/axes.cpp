// The axes painted: each price scale's frame, tick marks and labels, its tags, and the time axis, the marks of
// one look in one element and every label over them.
#include "render/chart/axes.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "coords/log_scale.hpp"
#include "coords/price_mapping.hpp"
#include "render/engine/contrast.hpp"
#include "render/engine/text_backing.hpp"

namespace qc::render {

using namespace coords;

void render_price_tag(SvgBackend& backend, double x, double right, double y, std::string_view text,
                      Color fill, Color background) {
  backend.fill_rect({x, y - kPriceTagHalfHeight, right - x, 2 * kPriceTagHalfHeight}, fill);
  backend.text(text, price_label_style(tag_text_color(fill, background), text.size()), x + kPriceLabelOffset,
               y);
}

void render_price_scale(SvgBackend& backend, const AxisTheme& theme, double x, double top, double height,
                        double lo, double hi, ScaleNumbers numbers) {
  render_price_scale(backend, theme, x, top, height, lo, hi, price_ticks(lo, hi, height), numbers);
}

namespace {

// Background and border of a scale whose left edge is x, and a mark at each tick: the border and the marks
// in one element.
void draw_scale_frame(SvgBackend& backend, const AxisColors& colors, double x, const PriceMapping& pane,
                      std::span<const double> ticks) {
  ShapeBatch shapes(backend);
  const StrokeStyle border = StrokeStyle::solid(1.0, colors.border);
  backend.fill_rect({x, pane.top, kPriceScaleWidth, pane.height}, colors.background);
  backend.line(x, pane.top, x, pane.top + pane.height, border);
  for (const double t : ticks) {
    const double y = pane.y(t);
    backend.line(x, y, x + kTickLength, y, border);
  }
}

// A label's centre keeps this far inside its pane, so that it is not cut by the pane's edge or printed over
// the neighbouring pane's or the time axis's labels; labels closer than their height to the last one
// written are left out.
constexpr double kLabelInset = 6.0;
constexpr double kLabelHeight = 12.0;

// The frame, then each tick's label at its tick moved inside the pane; label(out, i) writes tick i's text.
// Going down the pane, a label that would overlap the last one written is not written; the marks stay, and
// the labels keep the ticks' order.
template <class Label>
void draw_scale(SvgBackend& backend, const AxisTheme& theme, double x, const PriceMapping& pane,
                std::span<const double> ticks, std::size_t longest_label, Label&& label) {
  const AxisColors colors = AxisColors::from(theme);
  draw_scale_frame(backend, colors, x, pane, ticks);
  const TextStyle style = price_label_style(colors.text, longest_label);
  const double least = pane.top + kLabelInset, most = pane.top + pane.height - kLabelInset;
  const auto label_y = [&](std::size_t i) { return std::min(std::max(pane.y(ticks[i]), least), most); };
  // The ticks run one way down the pane: which are written is settled from the top one on.
  std::vector<std::uint8_t> written(ticks.size(), 0);
  const std::size_t n = ticks.size();
  const bool rising = n > 1 && pane.y(ticks[0]) > pane.y(ticks[n - 1]);  // the first tick lowest
  double last = -std::numeric_limits<double>::infinity();
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t i = rising ? n - 1 - k : k;
    const double y = label_y(i);
    if (!(y - last < kLabelHeight)) {
      written[i] = 1;
      last = y;
    }
  }
  std::string text;
  for (std::size_t i = 0; i < n; ++i) {
    if (!written[i]) continue;
    text.clear();
    label(text, i);
    backend.text(text, style, x + kPriceLabelOffset, label_y(i));
  }
}

}  // namespace

void render_price_scale(SvgBackend& backend, const AxisTheme& theme, double x, double top, double height,
                        double lo, double hi, const PriceTicks& ticks, ScaleNumbers numbers,
                        const coords::PriceFormat* format) {
  const ScaleLabels labels(ticks, numbers, format);
  std::string label;
  std::size_t longest = 0;
  auto measure = [&](double v) {
    label.clear();
    labels.append(label, v);
    longest = std::max(longest, label.size());
  };
  for (double t : ticks.ticks()) measure(t);
  measure(hi);
  draw_scale(backend, theme, x, PriceMapping{lo, hi, top, height}, ticks.ticks(), longest,
                   [&](std::string& out, std::size_t i) { labels.append(out, ticks.values[i]); });
}

void render_price_scale(SvgBackend& backend, const AxisTheme& theme, double x, const PriceMapping& pane,
                        const LabelledTicks& ticks, const coords::PriceFormat* format) {
  std::string label;
  std::size_t longest = 0;
  for (std::size_t i = 0; i < ticks.values.size(); ++i) {
    label.clear();
    ticks.append_label(label, i, format);
    longest = std::max(longest, label.size());
  }
  draw_scale(backend, theme, x, pane, ticks.ticks(), longest,
                   [&](std::string& out, std::size_t i) { ticks.append_label(out, i, format); });
}

TimeAxisPainter::TimeAxisPainter(SvgBackend& backend, const AxisTheme& theme, double plot_width,
                                 double plot_height, double spacing, const coords::TimeFormat& format)
    : backend_(backend),
      colors_(AxisColors::from(theme)),
      plot_width_(plot_width),
      plot_height_(plot_height),
      spacing_(spacing),
      format_(format) {
  style_.color = colors_.text;
  style_.font_size = kTimeLabelFontSize;
  style_.align = TextAlign::Middle;
  style_.baseline = TextBaseline::Top;
}

void TimeAxisPainter::frame(std::span<const std::size_t> labelled) {
  ShapeBatch shapes(backend_);
  const StrokeStyle border = StrokeStyle::solid(1.0, colors_.border);
  backend_.fill_rect({0, plot_height_, plot_width_ + kPriceScaleWidth, kTimeAxisHeight}, colors_.background);
  backend_.line(0, plot_height_, plot_width_, plot_height_, border);
  for (const std::size_t i : labelled) {
    const double x = bar_x(i, spacing_);
    backend_.line(x, plot_height_, x, plot_height_ + kTickLength, border);
  }
}

void TimeAxisPainter::label(std::size_t i, std::int64_t ts, std::int64_t prev) {
  const double x = bar_x(i, spacing_);
  label_.clear();
  format_.append_label(label_, ts, time_label_weight(ts, prev));
  backend_.text(label_, style_, time_label_x(x, time_label_width(label_), plot_width_),
                plot_height_ + kTimeLabelOffset);
}

}  // namespace qc::render
