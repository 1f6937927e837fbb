// Fib trend time geometry: the guide-dashed trend, then the level lines in the record's own dash.
#include "primitives/catalog/fibonacci/trend_time.hpp"

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/fibonacci/geometry.hpp"

namespace qc::primitives::catalog {

void FibTrendTime::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const fibonacci::PixelPoint p1 = fibonacci::to_pixel(ctx, bar1, price1);
  const fibonacci::PixelPoint p2 = fibonacci::to_pixel(ctx, bar2, price2);
  const double h = ctx.chart_height();
  StrokeScope stroke(ctx, data_);
  ctx.set_line_dash(fibonacci::kGuideDash);
  stroke_segment(ctx, snap(p1.x), snap(p1.y), snap(p2.x), snap(p2.y));
  ctx.set_line_dash({});
  ctx.set_line_dash(line_style_dash(data_.style));
  for (double r : levels) {
    const double x = snap(ctx.bar_to_x(bar1 + r * (bar2 - bar1)));
    stroke_segment(ctx, x, 0.0, x, h);
  }
}

std::unique_ptr<Primitive> create_fib_trend_time(std::span<const Point> points, std::string_view color) {
  return FibTrendTime::create(points, color);
}

}  // namespace qc::primitives::catalog
