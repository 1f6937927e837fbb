// Triangle geometry: an unsnapped fill and a snapped closed outline through the three vertices.
#include "primitives/catalog/shapes/triangle.hpp"

#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/shapes/outline.hpp"

namespace qc::primitives::catalog {

void Triangle::place(std::span<const Point> points) {
  const Point a = point_or(points, 0, {0.0, 100.0});
  const Point b = point_or(points, 1, {a.bar + 10.0, a.price * 1.05});
  const Point c = point_or(points, 2, {a.bar + 5.0, a.price * 0.95});
  const Point all[] = {a, b, c};
  set_points(all);
}

void Triangle::write_fields(JsonWriter& w) const {
  json_entry(w, "bar1", bar1);
  json_entry(w, "price1", price1);
  json_entry(w, "bar2", bar2);
  json_entry(w, "price2", price2);
  json_entry(w, "bar3", bar3);
  json_entry(w, "price3", price3);
  json_entry(w, "fill", fill);
  json_entry(w, "fill_opacity", fill_opacity);
}

void Triangle::render(RenderContext& ctx, bool) const {
  const Point vertices[] = {{bar1, price1}, {bar2, price2}, {bar3, price3}};
  fill_and_outline(ctx, data_, to_pixels(ctx, vertices), {fill, fill_opacity}, true);
}

std::optional<TextAnchor> Triangle::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  const Point vertices[] = {{bar1, price1}, {bar2, price2}, {bar3, price3}};
  const PixelBox box = chart_box(ctx, vertices);
  // Center and middle of the box rule are the pixel midpoints; here they are the mean vertex instead.
  const double cx = ctx.bar_to_x((bar1 + bar2 + bar3) / 3.0);
  const double cy = ctx.price_to_y((price1 + price2 + price3) / 3.0);
  auto anchor = box_text_anchor(data_, box);
  if (data_.text->h_align == PrimitiveTextAlign::Center) anchor->x = cx;
  if (data_.text->v_align == PrimitiveTextAlign::Center) anchor->y = cy;
  return anchor;
}

std::unique_ptr<Primitive> create_triangle(std::span<const Point> points, std::string_view color) {
  return Triangle::create(points, color);
}

}  // namespace qc::primitives::catalog
