// Arrow marker triangles by direction and their label placement.
#include "primitives/catalog/arrows/marker.hpp"

#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/pixel_paths.hpp"

namespace qc::primitives::catalog {

std::string_view json_name(ArrowDirection direction) noexcept {
  switch (direction) {
    case ArrowDirection::Up: return "Up";
    case ArrowDirection::Down: return "Down";
    case ArrowDirection::Left: return "Left";
    case ArrowDirection::Right: return "Right";
  }
  return "Up";
}

void draw_marker(RenderContext& ctx, const PrimitiveData& data, Point anchor, ArrowDirection direction,
                 double half_length, double half_base) {
  const PixelSnap snap{ctx.dpr()};
  const double x = ctx.bar_to_x(anchor.bar);
  const double y = ctx.price_to_y(anchor.price);
  ctx.set_fill_color(data.color.stroke);
  ctx.set_stroke_color(data.color.stroke);
  ctx.set_stroke_width(data.width);
  const double h = half_length;
  const double t = half_base;
  switch (direction) {
    case ArrowDirection::Up:
      draw_triangle(ctx, snap, {x, y - h}, {x - t, y + h}, {x + t, y + h}, Outline::Stroke);
      break;
    case ArrowDirection::Down:
      draw_triangle(ctx, snap, {x, y + h}, {x - t, y - h}, {x + t, y - h}, Outline::Stroke);
      break;
    case ArrowDirection::Left:
      draw_triangle(ctx, snap, {x - h, y}, {x + h, y - t}, {x + h, y + t}, Outline::Stroke);
      break;
    case ArrowDirection::Right:
      draw_triangle(ctx, snap, {x + h, y}, {x - h, y - t}, {x - h, y + t}, Outline::Stroke);
      break;
  }
}

std::optional<TextAnchor> marker_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point anchor) {
  const PrimitiveText* text = label_text(data);
  if (text == nullptr) return std::nullopt;
  const double x = ctx.bar_to_x(anchor.bar);
  const double y = ctx.price_to_y(anchor.price);
  return TextAnchor::make(data.color.stroke, x, y + align_offset(text->v_align, text->font_size * 0.5 + 20.0));
}

}  // namespace qc::primitives::catalog
