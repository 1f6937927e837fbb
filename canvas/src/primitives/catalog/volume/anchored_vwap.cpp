// Anchored VWAP geometry: the running volume-weighted average of the typical price from the anchor bar to
// the last, and bands at band_multiplier running volume-weighted deviations either side, as solid copies of
// the line at 30 % alpha. The line's dotted and dashed patterns grow with the device-pixel ratio.
#include "primitives/catalog/volume/anchored_vwap.hpp"

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <span>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/volume/dot.hpp"
#include "primitives/catalog/volume/profile.hpp"
#include "studies/vwap_sums.hpp"

namespace qc::primitives::catalog {
namespace {

struct Vertex {
  double x, y;
};

// One of the three lines: the average moved by `deviations` of its spread. A bar whose prices or volume are
// not finite, or before any volume, adds no vertex; the rest of the line carries on from the bars after it.
// Only the vertices that can show are written: from the last bar left of the chart to the first right of it.
// Returns the line's first vertex, where it starts, shown or not.
std::optional<Vertex> stroke_vwap(RenderContext& ctx, const model::BarsView& bars, BarSpan span, double deviations) {
  std::optional<Vertex> start;
  std::optional<Vertex> before;  // the last vertex left of the chart, written once one follows it
  bool open = false;
  studies::VwapSums sums;
  const double right = ctx.chart_width();
  ctx.begin_path();
  for (std::size_t k = span.first; k <= span.last; ++k) {
    const double hlc = bars.high[k] + bars.low[k] + bars.close[k];
    const double v = bars.volume[k];
    if (!std::isfinite(hlc) || !std::isfinite(v)) continue;
    sums.add(hlc, v);
    if (sums.volume() == 0.0) continue;
    const Vertex at{ctx.bar_to_x(static_cast<double>(k)), ctx.price_to_y(sums.mean() + deviations * sums.deviation())};
    if (!start) start = at;
    if (at.x < 0.0) {
      before = at;
      continue;
    }
    if (open) {
      ctx.line_to(at.x, at.y);
    } else {
      ctx.move_to(before ? before->x : at.x, before ? before->y : at.y);
      if (before) ctx.line_to(at.x, at.y);
      open = true;
    }
    if (at.x > right) break;
  }
  if (open) ctx.stroke();
  return start;
}

}  // namespace

void AnchoredVwap::render(RenderContext& ctx, bool) const {
  const double dpr = ctx.dpr();
  const model::BarsView bars = ctx.bars();
  const auto span = held_bars(bars.size(), anchor_bar, std::numeric_limits<double>::max());
  if (!span) return;
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(data_.width);
  // Dotted and dashed grow with the device-pixel ratio here, unlike the common table.
  std::array<double, 2> scaled{};
  std::span<const double> dash = line_style_dash(data_.style);
  if (data_.style == LineStyle::Dotted) {
    scaled = {2.0 * dpr, 3.0 * dpr};
    dash = scaled;
  } else if (data_.style == LineStyle::Dashed) {
    scaled = {10.0 * dpr, 5.0 * dpr};
    dash = scaled;
  }
  ctx.set_line_dash(dash);
  const auto start = stroke_vwap(ctx, bars, *span, 0.0);
  ctx.set_line_dash({});
  if (!start) return;
  fill_dot(ctx, data_.color.stroke, start->x, start->y, dpr);

  if (!show_bands) return;
  ctx.set_global_alpha(0.3);
  stroke_vwap(ctx, bars, *span, band_multiplier);
  stroke_vwap(ctx, bars, *span, -band_multiplier);
  ctx.set_global_alpha(1.0);
}

std::unique_ptr<Primitive> create_anchored_vwap(std::span<const Point> points, std::string_view color) {
  return AnchoredVwap::create(points, color);
}

}  // namespace qc::primitives::catalog
