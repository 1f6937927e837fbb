// Disjoint channel geometry: the band between the two lines (self-crossing when they cross), then both lines.
#include "primitives/catalog/channels/disjoint_channel.hpp"

#include "primitives/catalog/channels/band.hpp"
#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

// Up to three points give line 1 and the shift of line 2: 5 % of the first price unless a third point's
// price sets it (its bar is not used); four points give both lines.
void DisjointChannel::place(std::span<const Point> points) {
  Point a{0.0, 100.0};
  Point b{20.0, 105.0};
  double offset = 5.0;
  if (points.size() >= 4) {
    set_points(points.first(4));
    return;
  }
  if (!points.empty()) {
    a = points[0];
    b = point_or(points, 1, {a.bar + 20.0, 1.05 * a.price});
    offset = points.size() == 3 ? points[2].price - a.price : 0.05 * a.price;
  }
  const Point anchors[] = {a, b, {a.bar, a.price + offset}, {b.bar, b.price + offset}};
  set_points(anchors);
}

void DisjointChannel::set_points(std::span<const Point> points) {
  PrimitiveBase::set_points(points);
  if (points.size() == 3) {
    line2_bar2 = line1_bar2;
    line2_price2 = points[2].price + line1_price2 - line1_price1;
  }
}

void DisjointChannel::write_fields(JsonWriter& w) const {
  json_entry(w, "line1_bar1", line1_bar1);
  json_entry(w, "line1_price1", line1_price1);
  json_entry(w, "line1_bar2", line1_bar2);
  json_entry(w, "line1_price2", line1_price2);
  json_entry(w, "line2_bar1", line2_bar1);
  json_entry(w, "line2_price1", line2_price1);
  json_entry(w, "line2_bar2", line2_bar2);
  json_entry(w, "line2_price2", line2_price2);
  json_entry(w, "fill", fill);
  json_entry(w, "fill_opacity", fill_opacity);
  json_entry(w, "extend_right", extend_right);
}

namespace {

struct Lines {
  PixelPoint a, b, c, d;  // line 1 start and end, line 2 start and end
};

Lines to_pixels(const RenderContext& ctx, const DisjointChannel& ch) {
  return {{ctx.bar_to_x(ch.line1_bar1), ctx.price_to_y(ch.line1_price1)},
          {ctx.bar_to_x(ch.line1_bar2), ctx.price_to_y(ch.line1_price2)},
          {ctx.bar_to_x(ch.line2_bar1), ctx.price_to_y(ch.line2_price1)},
          {ctx.bar_to_x(ch.line2_bar2), ctx.price_to_y(ch.line2_price2)}};
}

}  // namespace

void DisjointChannel::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const Lines l = to_pixels(ctx, *this);
  if (fill) fill_band(ctx, data_.color.stroke, fill_opacity, l.a, l.b, l.d, l.c);
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, snap(l.a.x), snap(l.a.y), snap(l.b.x), snap(l.b.y));
  stroke_segment(ctx, snap(l.c.x), snap(l.c.y), snap(l.d.x), snap(l.d.y));
}

// Along line 1's direction, midway between the two lines' heights at the same fraction.
std::optional<TextAnchor> DisjointChannel::text_anchor(const RenderContext& ctx) const {
  const Lines l = to_pixels(ctx, *this);
  return channel_text_anchor(data_, l.a, l.b, [&](double t, double dx, double dy) {
    return PixelPoint{l.a.x + t * dx, ((l.a.y + t * dy) + (l.c.y + t * (l.d.y - l.c.y))) / 2};
  });
}

std::unique_ptr<Primitive> create_disjoint_channel(std::span<const Point> points, std::string_view color) {
  return DisjointChannel::create(points, color);
}

}  // namespace qc::primitives::catalog
