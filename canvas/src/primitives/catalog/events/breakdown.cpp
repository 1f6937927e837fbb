// Breakdown geometry: a 4 s long dashed level segment, a triangle pointing away from the level, a connector.
#include "primitives/catalog/events/breakdown.hpp"

namespace qc::primitives::catalog {

void Breakdown::render(RenderContext& ctx, bool) const {
  static constexpr double kLevelDash[] = {4.0, 4.0};
  const PixelSnap snap{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  const double yl = ctx.price_to_y(level_price);
  const double s = size;
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(data_.width);

  ctx.save();
  ctx.set_line_dash(kLevelDash);
  stroke_segment(ctx, snap(x - 2 * s), snap(yl), snap(x + 2 * s), snap(yl));
  ctx.restore();

  ctx.set_fill_color(data_.color.stroke);
  const double apex = level_price < price ? y - s / 2 : y + s / 2;
  triangle_path(ctx, snap, {x, apex}, {x - s / 3, y}, {x + s / 3, y});
  ctx.fill();

  ctx.set_line_dash({});
  stroke_segment(ctx, snap(x), snap(yl), snap(x), snap(y));
}

std::optional<TextAnchor> Breakdown::text_anchor(const RenderContext& ctx) const {
  return aligned_marker_text_anchor(data_, ctx, {bar, price}, size);
}

std::unique_ptr<Primitive> create_breakdown(std::span<const Point> points, std::string_view color) {
  return Breakdown::create(points, color);
}

}  // namespace qc::primitives::catalog
