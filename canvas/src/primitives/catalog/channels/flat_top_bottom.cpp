// Flat top/bottom geometry: the region between the lines, the sloped line, then the flat line.
#include "primitives/catalog/channels/flat_top_bottom.hpp"

#include "primitives/catalog/channels/band.hpp"
#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

std::string_view json_name(FlatType type) noexcept { return type == FlatType::Top ? "Top" : "Bottom"; }

std::vector<Point> FlatTopBottom::points() const { return {{bar1, price1}, {bar2, price2}, {bar1, flat_price}}; }

void FlatTopBottom::set_points(std::span<const Point> points) {
  if (points.size() < 2) return;
  bar1 = points[0].bar;
  price1 = points[0].price;
  bar2 = points[1].bar;
  price2 = points[1].price;
  if (points.size() >= 3) {
    flat_price = points[2].price;
    derive_type();
  }
}

void FlatTopBottom::place(std::span<const Point> points) {
  if (!points.empty()) {
    const Point a = points[0];
    const Point anchors[] = {a, point_or(points, 1, {a.bar + 20.0, 1.05 * a.price}),
                             point_or(points, 2, {a.bar, 1.1 * a.price})};
    set_points(anchors);
  }
  derive_type();
}

void FlatTopBottom::derive_type() {
  const bool top = flat_price > (price1 + price2) / 2;
  flat_type = top ? FlatType::Top : FlatType::Bottom;
  data_.display_name = top ? "Flat Top" : "Flat Bottom";
}

void FlatTopBottom::write_fields(JsonWriter& w) const {
  json_entry(w, "bar1", bar1);
  json_entry(w, "price1", price1);
  json_entry(w, "bar2", bar2);
  json_entry(w, "price2", price2);
  json_entry(w, "flat_price", flat_price);
  json_entry(w, "flat_type", flat_type);
  json_entry(w, "fill", fill);
  json_entry(w, "fill_opacity", fill_opacity);
}

void FlatTopBottom::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double y1 = ctx.price_to_y(price1);
  const double x2 = ctx.bar_to_x(bar2);
  const double y2 = ctx.price_to_y(price2);
  const double yf = ctx.price_to_y(flat_price);
  if (fill) fill_band(ctx, data_.color.stroke, fill_opacity, {x1, y1}, {x2, y2}, {x2, yf}, {x1, yf});
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, snap(x1), snap(y1), snap(x2), snap(y2));
  stroke_segment(ctx, snap(x1), snap(yf), snap(x2), snap(yf));
}

// Along the sloped line's direction, midway between its height and the flat line's.
std::optional<TextAnchor> FlatTopBottom::text_anchor(const RenderContext& ctx) const {
  const PixelPoint a{ctx.bar_to_x(bar1), ctx.price_to_y(price1)};
  const PixelPoint b{ctx.bar_to_x(bar2), ctx.price_to_y(price2)};
  const double yf = ctx.price_to_y(flat_price);
  return channel_text_anchor(data_, a, b, [&](double t, double dx, double dy) {
    return PixelPoint{a.x + t * dx, ((a.y + t * dy) + yf) / 2};
  });
}

std::unique_ptr<Primitive> create_flat_top_bottom(std::span<const Point> points, std::string_view color) {
  return FlatTopBottom::create(points, color);
}

}  // namespace qc::primitives::catalog
