// Parallel channel geometry: the band, then the base and the parallel line between the anchor bars.
#include "primitives/catalog/channels/parallel_channel.hpp"

#include "primitives/catalog/channels/band.hpp"
#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

std::vector<Point> ParallelChannel::points() const {
  return {{bar1, price1}, {bar2, price2}, {bar1, price1 + channel_offset}};
}

void ParallelChannel::set_points(std::span<const Point> points) {
  if (points.size() < 2) return;
  bar1 = points[0].bar;
  price1 = points[0].price;
  bar2 = points[1].bar;
  price2 = points[1].price;
  if (points.size() >= 3) channel_offset = points[2].price - price1;
}

void ParallelChannel::place(std::span<const Point> points) {
  if (points.empty()) return;
  const Point a = points[0];
  const Point base[] = {a, point_or(points, 1, {a.bar + 10.0, a.price})};
  set_points(base);
  channel_offset = points.size() >= 3 ? points[2].price - price1 : 0.05 * price1;
}

void ParallelChannel::write_fields(JsonWriter& w) const {
  json_entry(w, "bar1", bar1);
  json_entry(w, "price1", price1);
  json_entry(w, "bar2", bar2);
  json_entry(w, "price2", price2);
  json_entry(w, "channel_offset", channel_offset);
  json_entry(w, "extend_left", extend_left);
  json_entry(w, "extend_right", extend_right);
  json_entry(w, "fill", fill);
  json_entry(w, "fill_opacity", fill_opacity);
}

void ParallelChannel::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double y1 = ctx.price_to_y(price1);
  const double x2 = ctx.bar_to_x(bar2);
  const double y2 = ctx.price_to_y(price2);
  const double y3 = ctx.price_to_y(price1 + channel_offset);
  const double y4 = ctx.price_to_y(price2 + channel_offset);
  if (fill) fill_band(ctx, data_.color.stroke, fill_opacity, {x1, y1}, {x2, y2}, {x2, y4}, {x1, y3});
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, snap(x1), snap(y1), snap(x2), snap(y2));
  stroke_segment(ctx, snap(x1), snap(y3), snap(x2), snap(y4));
}

// Along the base line's direction, through the middle of the channel.
std::optional<TextAnchor> ParallelChannel::text_anchor(const RenderContext& ctx) const {
  const PixelPoint a{ctx.bar_to_x(bar1), ctx.price_to_y(price1)};
  const PixelPoint b{ctx.bar_to_x(bar2), ctx.price_to_y(price2)};
  const double ym = ctx.price_to_y(price1 + 0.5 * channel_offset);
  return channel_text_anchor(data_, a, b, [&](double t, double dx, double dy) {
    return PixelPoint{a.x + t * dx, ym + t * dy};
  });
}

std::unique_ptr<Primitive> create_parallel_channel(std::span<const Point> points, std::string_view color) {
  return ParallelChannel::create(points, color);
}

}  // namespace qc::primitives::catalog
