// Rectangle geometry: the box of the two corners in pixels, whichever way round they were given.
#include "primitives/catalog/shapes/rectangle.hpp"

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

void Rectangle::place(std::span<const Point> points) {
  const Point a = point_or(points, 0, {});
  const Point b = point_or(points, 1, {a.bar + 10.0, a.price * 1.05});
  bar1 = a.bar;
  price1 = a.price;
  bar2 = b.bar;
  price2 = b.price;
}

void Rectangle::write_fields(JsonWriter& w) const {
  json_entry(w, "bar1", bar1);
  json_entry(w, "price1", price1);
  json_entry(w, "bar2", bar2);
  json_entry(w, "price2", price2);
  json_entry(w, "fill", fill);
  json_entry(w, "fill_opacity", fill_opacity);
  json_entry(w, "border_radius", border_radius);
}

void Rectangle::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double y1 = ctx.price_to_y(price1);
  const double x2 = ctx.bar_to_x(bar2);
  const double y2 = ctx.price_to_y(price2);
  const double left = util::nan_min(x1, x2);
  const double top = util::nan_min(y1, y2);
  const double w = util::nan_max(x1, x2) - left;
  const double h = util::nan_max(y1, y2) - top;
  if (fill) {
    ctx.set_fill_color(fill_color_with_opacity(data_.color.stroke, fill_opacity));
    ctx.fill_rect(left, top, w, h);
  }
  StrokeScope stroke(ctx, data_);
  ctx.stroke_rect(snap(left), snap(top), w, h);
}

std::optional<TextAnchor> Rectangle::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  const Point corners[] = {{bar1, price1}, {bar2, price2}};
  return box_text_anchor(data_, chart_box(ctx, corners));
}

std::unique_ptr<Primitive> create_rectangle(std::span<const Point> points, std::string_view color) {
  return Rectangle::create(points, color);
}

}  // namespace qc::primitives::catalog
