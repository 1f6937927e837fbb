// Glyph paths and paint set-up shared by the event markers.
#include "primitives/catalog/events/markers.hpp"

namespace qc::primitives::catalog {

void paint_in_stroke_color(RenderContext& ctx, const PrimitiveData& data) {
  ctx.set_fill_color(data.color.stroke);
  ctx.set_stroke_color(data.color.stroke);
  ctx.set_stroke_width(data.width);
}

void triangle_path(RenderContext& ctx, PixelSnap snap, Px a, Px b, Px c) {
  ctx.begin_path();
  ctx.move_to(snap(a.x), snap(a.y));
  ctx.line_to(snap(b.x), snap(b.y));
  ctx.line_to(snap(c.x), snap(c.y));
  ctx.close_path();
}

void diamond_path(RenderContext& ctx, PixelSnap snap, Px centre, double h) {
  const auto [x, y] = centre;
  ctx.begin_path();
  ctx.move_to(snap(x), snap(y - h));
  ctx.line_to(snap(x + h), snap(y));
  ctx.line_to(snap(x), snap(y + h));
  ctx.line_to(snap(x - h), snap(y));
  ctx.close_path();
}

void diagonal_cross_path(RenderContext& ctx, PixelSnap snap, Px centre, double h) {
  const auto [x, y] = centre;
  ctx.begin_path();
  ctx.move_to(snap(x - h), snap(y - h));
  ctx.line_to(snap(x + h), snap(y + h));
  ctx.move_to(snap(x + h), snap(y - h));
  ctx.line_to(snap(x - h), snap(y + h));
}

void circle_path(RenderContext& ctx, PixelSnap snap, Px centre, double radius) {
  ctx.begin_path();
  ctx.arc(snap(centre.x), snap(centre.y), radius, 0.0, kFullTurn);
}

std::optional<TextAnchor> aligned_marker_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point at,
                                                     double clearance) {
  return marker_text_anchor(data, ctx, at, [clearance](const PrimitiveText& text) {
    return align_offset(text.v_align, text.font_size * 0.5 + clearance);
  });
}

std::optional<TextAnchor> above_marker_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point at,
                                                   double clearance) {
  return marker_text_anchor(data, ctx, at,
                            [clearance](const PrimitiveText& text) { return -(text.font_size * 0.5 + clearance); });
}

}  // namespace qc::primitives::catalog
