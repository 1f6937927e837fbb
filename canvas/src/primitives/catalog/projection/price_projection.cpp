// Price projection geometry: the move in the record's dash, the projection dashed at P3's bar, and four
// one-pixel marks at the heights of all four prices; the marks at P3 are 50 px long.
#include "primitives/catalog/projection/price_projection.hpp"

#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

void PriceProjection::place(std::span<const Point> points) {
  const Point a = point_or(points, 0, {bar1, price1});
  const Point b = point_or(points, 1, {a.bar + 10.0, a.price + 5.0});
  const Point c = point_or(points, 2, {b.bar + 10.0, b.price + 5.0});
  bar1 = a.bar;
  price1 = a.price;
  bar2 = b.bar;
  price2 = b.price;
  bar3 = c.bar;
  price3 = c.price;
}

void PriceProjection::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double y1 = ctx.price_to_y(price1);
  const double x2 = ctx.bar_to_x(bar2);
  const double y2 = ctx.price_to_y(price2);
  const double x3 = ctx.bar_to_x(bar3);
  const double y3 = ctx.price_to_y(price3);
  const double yp = ctx.price_to_y(price3 + (price2 - price1));
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, snap(x1), snap(y1), snap(x2), snap(y2));

  static constexpr double kProjectionDash[] = {4.0, 4.0};
  ctx.set_line_dash(kProjectionDash);
  stroke_segment(ctx, snap(x3), snap(y3), snap(x3), snap(yp));

  ctx.set_line_dash({});
  ctx.set_stroke_width(1.0);
  stroke_segment(ctx, snap(x1), snap(y1), snap(x2), snap(y1));
  stroke_segment(ctx, snap(x1), snap(y2), snap(x2), snap(y2));
  stroke_segment(ctx, snap(x3), snap(y3), snap(x3 + 50.0), snap(y3));
  stroke_segment(ctx, snap(x3), snap(yp), snap(x3 + 50.0), snap(yp));
}

std::unique_ptr<Primitive> create_price_projection(std::span<const Point> points, std::string_view color) {
  return PriceProjection::create(points, color);
}

}  // namespace qc::primitives::catalog
