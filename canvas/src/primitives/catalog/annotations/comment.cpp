// Comment geometry: a filled bubble of radius 10 with a tail, and three black strokes standing for words.
#include "primitives/catalog/annotations/comment.hpp"

#include <numbers>

#include "primitives/catalog/annotations/icon_paint.hpp"
#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

void Comment::place(std::span<const Point> points) {
  set_points(points);
  data_.text = PrimitiveText::make("Comment");
}

void Comment::write_fields(JsonWriter& w) const {
  json_entry(w, "bar", bar);
  json_entry(w, "price", price);
  json_entry(w, "text", text);
  json_entry(w, "author", author);
  json_entry(w, "timestamp", timestamp);
}

void Comment::render(RenderContext& ctx, bool) const {
  const PixelSnap s{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  paint_icon(ctx, data_);
  ctx.begin_path();
  ctx.arc(x, y, 10.0, 0.0, 2.0 * std::numbers::pi);
  ctx.fill();
  ctx.begin_path();
  ctx.move_to(s(x - 3), s(y + 8));
  ctx.line_to(s(x - 8), s(y + 16));
  ctx.line_to(s(x + 2), s(y + 8));
  ctx.close_path();
  ctx.fill();
  ctx.set_stroke_color("#000000");
  ctx.set_stroke_width(1.0);
  for (double row : {y - 3, y, y + 3}) stroke_segment(ctx, s(x - 5), s(row), s(x + 5), s(row));
}

std::optional<TextAnchor> Comment::text_anchor(const RenderContext& ctx) const {
  if (!data_.text) return std::nullopt;
  const double x = ctx.bar_to_x(bar);
  return TextAnchor::make(data_.color.stroke, x, ctx.price_to_y(price) + 20.0);
}

std::unique_ptr<Primitive> create_comment(std::span<const Point> points, std::string_view color) {
  return Comment::create(points, color);
}

}  // namespace qc::primitives::catalog
