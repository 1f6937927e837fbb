// Vertical line geometry: a stroke from the top to the bottom canvas edge, snapped only horizontally.
#include "primitives/catalog/lines/vertical_line.hpp"

namespace qc::primitives::catalog {

void VerticalLine::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x = ctx.bar_to_x(bar_idx);
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, snap(x), 0.0, snap(x), ctx.chart_height());
}

// The alignments swap roles: v_align picks the place along the line, h_align the side.
std::optional<TextAnchor> VerticalLine::text_anchor(const RenderContext& ctx) const {
  const PrimitiveText* text = label_text(data_);
  if (text == nullptr) return std::nullopt;
  const double x = ctx.bar_to_x(bar_idx);
  const double h = ctx.chart_height();
  const double y = pick(text->v_align, 50.0, h * 0.5, h - 50.0);
  return TextAnchor::make(data_.color.stroke, x + align_offset(text->h_align, label_offset(*text)), y);
}

std::unique_ptr<Primitive> create_vertical_line(std::span<const Point> points, std::string_view color) {
  return VerticalLine::create(points, color);
}

}  // namespace qc::primitives::catalog
