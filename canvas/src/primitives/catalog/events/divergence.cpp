// Divergence geometry: the dashed line (finer dash for regular divergences), end dots and a triangle that
// points up at the second anchor for a bullish divergence and down for a bearish one.
#include "primitives/catalog/events/divergence.hpp"

namespace qc::primitives::catalog {

void Divergence::render(RenderContext& ctx, bool) const {
  static constexpr double kRegularDash[] = {4.0, 2.0};
  static constexpr double kHiddenDash[] = {6.0, 4.0};
  const PixelSnap snap{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double y1 = ctx.price_to_y(price1);
  const double x2 = ctx.bar_to_x(bar2);
  const double y2 = ctx.price_to_y(price2);
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(line_width);

  ctx.save();
  if (is_regular(divergence_type)) {
    ctx.set_line_dash(kRegularDash);
  } else {
    ctx.set_line_dash(kHiddenDash);
  }
  stroke_segment(ctx, snap(x1), snap(y1), snap(x2), snap(y2));
  ctx.restore();

  ctx.set_fill_color(data_.color.stroke);
  circle_path(ctx, snap, {x1, y1}, 4.0);
  ctx.fill();
  circle_path(ctx, snap, {x2, y2}, 4.0);
  ctx.fill();

  // Base 6 px and tip 14 px from the anchor: below it when bearish, above it when bullish.
  const double side = is_bearish(divergence_type) ? 1.0 : -1.0;
  const double base = y2 + side * 6.0;
  triangle_path(ctx, snap, {x2, y2 + side * 14.0}, {x2 - 4.0, base}, {x2 + 4.0, base});
  ctx.fill();
}

// At the second anchor, on the triangle's side whatever v_align says.
std::optional<TextAnchor> Divergence::text_anchor(const RenderContext& ctx) const {
  return marker_text_anchor(data_, ctx, {bar2, price2}, [this](const PrimitiveText& text) {
    const double offset = text.font_size * 0.5 + 20.0;
    return is_bearish(divergence_type) ? offset : -offset;
  });
}

std::unique_ptr<Primitive> create_divergence(std::span<const Point> points, std::string_view color) {
  return Divergence::create(points, color);
}

}  // namespace qc::primitives::catalog
