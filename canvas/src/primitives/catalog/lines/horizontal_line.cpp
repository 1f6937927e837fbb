// Horizontal line geometry: a stroke from the left to the right canvas edge, snapped only vertically.
#include "primitives/catalog/lines/horizontal_line.hpp"

namespace qc::primitives::catalog {

void HorizontalLine::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double y = ctx.price_to_y(price);
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, 0.0, snap(y), ctx.chart_width(), snap(y));
}

// 50 px in from the edge h_align names, or the middle; v_align moves it above or below the line.
std::optional<TextAnchor> HorizontalLine::text_anchor(const RenderContext& ctx) const {
  const PrimitiveText* text = label_text(data_);
  if (text == nullptr) return std::nullopt;
  const double y = ctx.price_to_y(price);
  const double w = ctx.chart_width();
  const double x = pick(text->h_align, 50.0, w * 0.5, w - 50.0);
  return TextAnchor::make(data_.color.stroke, x, y + align_offset(text->v_align, label_offset(*text)));
}

std::unique_ptr<Primitive> create_horizontal_line(std::span<const Point> points, std::string_view color) {
  return HorizontalLine::create(points, color);
}

}  // namespace qc::primitives::catalog
