// Bars pattern geometry: the target's width is the source's absolute pixel span, whichever way the source
// was drawn.
#include "primitives/catalog/projection/bars_pattern.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

void BarsPattern::place(std::span<const Point> points) {
  if (points.empty()) return;
  source_bar1 = points[0].bar;
  source_bar2 = point_or(points, 1, {source_bar1 + 20.0, 0.0}).bar;
  target_bar = point_or(points, 2, {source_bar2 + 10.0, 0.0}).bar;
}

void BarsPattern::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double xa = ctx.bar_to_x(source_bar1);
  const double xb = ctx.bar_to_x(source_bar2);
  const double xt = ctx.bar_to_x(target_bar);
  const double h = ctx.chart_height();
  StrokeScope stroke(ctx, data_);
  const double span = std::abs(xb - xa);
  for (double x : {xa, xb, xt, xt + span}) stroke_segment(ctx, snap(x), 0.0, snap(x), h);

  static constexpr double kConnectorDash[] = {4.0, 4.0};
  ctx.set_line_dash(kConnectorDash);
  const double mid = h * 0.5;
  for (double y : {mid - 20.0, mid + 20.0}) stroke_segment(ctx, snap(xb), snap(y), snap(xt), snap(y));
}

std::unique_ptr<Primitive> create_bars_pattern(std::span<const Point> points, std::string_view color) {
  return BarsPattern::create(points, color);
}

}  // namespace qc::primitives::catalog
