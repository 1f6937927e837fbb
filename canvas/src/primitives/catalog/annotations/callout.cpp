// Callout geometry: the leader line, then the box filled with the stroke at alpha CC and outlined.
#include "primitives/catalog/annotations/callout.hpp"

#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

// Without a second point the box sits 5 bars right of and 10 price units above the first.
void Callout::place(std::span<const Point> points) {
  const Point p1 = point_or(points, 0, {bar1, price1});
  const Point p2 = point_or(points, 1, {p1.bar + kBoxBars, p1.price + 10.0});
  const Point both[] = {p1, p2};
  set_points(both);
  data_.text = PrimitiveText::make("Callout");
}

void Callout::write_fields(JsonWriter& w) const {
  json_entry(w, "bar1", bar1);
  json_entry(w, "price1", price1);
  json_entry(w, "bar2", bar2);
  json_entry(w, "price2", price2);
  json_entry(w, "text", text);
  json_entry(w, "bubble_width", bubble_width);
  json_entry(w, "bubble_height", bubble_height);
}

void Callout::render(RenderContext& ctx, bool) const {
  const PixelSnap s{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double y1 = ctx.price_to_y(price1);
  const double x2 = ctx.bar_to_x(bar2);
  const double y2 = ctx.price_to_y(price2);
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(data_.width);
  stroke_segment(ctx, s(x1), s(y1), s(x2), s(y2));
  // A plain append: a stroke that is not "#rrggbb" gives a fill the context cannot parse (transparent).
  ctx.set_fill_color(data_.color.stroke + "CC");
  const double left = s(x2 - bubble_width * 0.5);
  const double top = s(y2 - bubble_height * 0.5);
  ctx.fill_rect(left, top, bubble_width, bubble_height);
  ctx.stroke_rect(left, top, bubble_width, bubble_height);
}

// White words inside the box, starting 5 px in from its left edge.
std::optional<TextAnchor> Callout::text_anchor(const RenderContext& ctx) const {
  if (!data_.text) return std::nullopt;
  const double x2 = ctx.bar_to_x(bar2);
  TextAnchor anchor = TextAnchor::make("#FFFFFF", x2 - bubble_width * 0.5 + 5.0, ctx.price_to_y(price2));
  anchor.align = PrimitiveTextAlign::Start;
  return anchor;
}

std::unique_ptr<Primitive> create_callout(std::span<const Point> points, std::string_view color) {
  return Callout::create(points, color);
}

}  // namespace qc::primitives::catalog
