// Flag geometry: the stroked pole, then the pennant filled in the flag colour.
#include "primitives/catalog/annotations/flag.hpp"

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"

namespace qc::primitives::catalog {

void Flag::place(std::span<const Point> points) {
  set_points(points);
  data_.text = PrimitiveText::make("Flag");
}

void Flag::write_fields(JsonWriter& w) const {
  json_entry(w, "bar", bar);
  json_entry(w, "price", price);
  json_entry(w, "text", text);
  json_entry(w, "flag_color", flag_color);
}

void Flag::render(RenderContext& ctx, bool) const {
  const PixelSnap s{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(data_.width);
  stroke_segment(ctx, s(x), s(y), s(x), s(y - 30));
  ctx.set_fill_color(flag_color);
  ctx.begin_path();
  ctx.move_to(s(x), s(y - 30));
  ctx.line_to(s(x + 25), s(y - 22));
  ctx.line_to(s(x), s(y - 14));
  ctx.close_path();
  ctx.fill();
}

// Left of the pole's foot and a little below it.
std::optional<TextAnchor> Flag::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  const double x = ctx.bar_to_x(bar);
  return TextAnchor::make(data_.color.stroke, x - 10.0, ctx.price_to_y(price) + 12.0);
}

std::unique_ptr<Primitive> create_flag(std::span<const Point> points, std::string_view color) {
  return Flag::create(points, color);
}

}  // namespace qc::primitives::catalog
