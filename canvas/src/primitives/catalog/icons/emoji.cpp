// Emoji sticker: the frame in pixels and the drawing state every pictogram starts from.
#include "primitives/catalog/icons/emoji.hpp"

#include "primitives/catalog/common/radial.hpp"

namespace qc::primitives::catalog {

std::vector<Point> Emoji::points() const {
  return centre_and_corner(center_bar, center_price, radius_bars, radius_price);
}

void Emoji::set_points(std::span<const Point> points) {
  if (points.empty()) return;
  center_bar = points[0].bar;
  center_price = points[0].price;
  if (points.size() < 2) return;
  radius_bars = radius_at_least(points[1].bar - center_bar, 0.5);
  radius_price = radius_at_least(points[1].price - center_price, 1.0);
}

void Emoji::place(std::span<const Point> points) {
  const Point c = point_or(points, 0, {0.0, 100.0});
  const Point edge = point_or(points, 1, {c.bar + 5.0, c.price + 50.0});
  center_bar = c.bar;
  center_price = c.price;
  radius_bars = radius_at_least(edge.bar - c.bar, 1.0);
  radius_price = radius_at_least(edge.price - c.price, 1.0);
}

void Emoji::write_fields(JsonWriter& w) const {
  json_entry(w, "center_bar", center_bar);
  json_entry(w, "center_price", center_price);
  json_entry(w, "radius_bars", radius_bars);
  json_entry(w, "radius_price", radius_price);
  json_entry(w, "emoji_type", emoji_type);
}

void Emoji::render(RenderContext& ctx, bool) const {
  const PixelFrame f = pixel_frame(ctx, center_bar, center_price, radius_bars, radius_price);
  const std::string_view own = data_.color.stroke;
  ctx.set_line_dash({});
  ctx.set_stroke_color(own);
  ctx.set_fill_color(own);
  ctx.set_stroke_width(2.0);
  ctx.set_line_cap("round");
  ctx.set_line_join("round");
  draw_pictogram(ctx, pictogram(emoji_type), f, own);
}

std::unique_ptr<Primitive> create_emoji(std::span<const Point> points, std::string_view color) {
  return Emoji::create(points, color);
}

}  // namespace qc::primitives::catalog
