// Cross line geometry: full-width and full-height strokes through the snapped anchor.
#include "primitives/catalog/lines/cross_line.hpp"

namespace qc::primitives::catalog {

void CrossLine::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, 0.0, snap(y), ctx.chart_width(), snap(y));
  stroke_segment(ctx, snap(x), 0.0, snap(x), ctx.chart_height());
}

std::unique_ptr<Primitive> create_cross_line(std::span<const Point> points, std::string_view color) {
  return CrossLine::create(points, color);
}

}  // namespace qc::primitives::catalog
