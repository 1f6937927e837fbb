// Arrow line geometry: the line in the record's style, then solid filled heads along its direction.
#include "primitives/catalog/arrows/arrow_line.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/pixel_paths.hpp"

namespace qc::primitives::catalog {

void ArrowLine::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const auto [x1, y1, x2, y2] = to_pixels(ctx);
  {
    StrokeScope stroke(ctx, data_);
    stroke_segment(ctx, snap(x1), snap(y1), snap(x2), snap(y2));
  }
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double length_sq = dx * dx + dy * dy;
  // Also false for NaN: a line without a direction gets no heads.
  if (!(length_sq > 0.0)) return;
  const double length = std::sqrt(length_sq);
  const double ux = dx / length;
  const double uy = dy / length;
  ctx.set_fill_color(data_.color.stroke);
  const double a = arrow_size;
  const double w = 0.4 * a;  // half the head's base
  // tip at (tx, ty), base centre a pixels back towards the other end
  auto head = [&](double tx, double ty, double bx, double by) {
    draw_triangle(ctx, snap, {tx, ty}, {bx - uy * w, by + ux * w}, {bx + uy * w, by - ux * w}, Outline::None);
  };
  if (arrow_end) head(x2, y2, x2 - ux * a, y2 - uy * a);
  if (arrow_start) head(x1, y1, x1 + ux * a, y1 + uy * a);
}

std::optional<TextAnchor> ArrowLine::text_anchor(const RenderContext& ctx) const {
  const PrimitiveText* text = label_text(data_);
  if (text == nullptr) return std::nullopt;
  const auto [x1, y1, x2, y2] = to_pixels(ctx);
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double length = std::sqrt(dx * dx + dy * dy);
  const double offset = align_offset(text->v_align, text->font_size * 0.5 + 10.0);
  // Off the line along its normal; a line without length takes the normal of a left-to-right one
  // instead of dividing by zero.
  const double nx = length > 0.0 ? -dy / length : 0.0;
  const double ny = length > 0.0 ? dx / length : 1.0;
  return TextAnchor::with_rotation(data_.color.stroke, (x1 + x2) * 0.5 + nx * offset, (y1 + y2) * 0.5 + ny * offset,
                                   std::atan2(dy, dx));
}

std::unique_ptr<Primitive> create_arrow_line(std::span<const Point> points, std::string_view color) {
  return ArrowLine::create(points, color);
}

}  // namespace qc::primitives::catalog
