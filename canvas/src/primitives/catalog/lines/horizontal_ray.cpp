// Horizontal ray geometry: from the snapped anchor to the right canvas edge at the anchor's height.
#include "primitives/catalog/lines/horizontal_ray.hpp"

namespace qc::primitives::catalog {

void HorizontalRay::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, snap(x), snap(y), ctx.chart_width(), snap(y));
}

// 50 px right of the anchor, midway to the edge, or 50 px before it; v_align moves it above or below.
std::optional<TextAnchor> HorizontalRay::text_anchor(const RenderContext& ctx) const {
  const PrimitiveText* text = label_text(data_);
  if (text == nullptr) return std::nullopt;
  const double y = ctx.price_to_y(price);
  const double x0 = ctx.bar_to_x(bar);
  const double w = ctx.chart_width();
  const double x = pick(text->h_align, x0 + 50.0, (x0 + w) * 0.5, w - 50.0);
  return TextAnchor::make(data_.color.stroke, x, y + align_offset(text->v_align, label_offset(*text)));
}

std::unique_ptr<Primitive> create_horizontal_ray(std::span<const Point> points, std::string_view color) {
  return HorizontalRay::create(points, color);
}

}  // namespace qc::primitives::catalog
