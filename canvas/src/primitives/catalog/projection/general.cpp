// Projection geometry: ratio 0 lies at price1 and ratio 1 at price2; the levels start at P2's x.
#include "primitives/catalog/projection/general.hpp"

#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

void Projection::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const auto [x1, y1, x2, y2] = to_pixels(ctx);
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, snap(x1), snap(y1), snap(x2), snap(y2));
  if (!show_levels) return;

  static constexpr double kRatios[] = {0, 0.236, 0.382, 0.5, 0.618, 0.786, 1, 1.272, 1.618, 2};
  static constexpr double kLevelDash[] = {4.0, 2.0};
  ctx.set_stroke_width(1.0);
  ctx.set_line_dash(kLevelDash);
  const double w = ctx.chart_width();
  const double move = price2 - price1;
  for (double r : kRatios) {
    const double y = snap(ctx.price_to_y(price1 + r * move));
    stroke_segment(ctx, snap(x2), y, snap(w), y);
  }
}

std::unique_ptr<Primitive> create_projection(std::span<const Point> points, std::string_view color) {
  return Projection::create(points, color);
}

}  // namespace qc::primitives::catalog
