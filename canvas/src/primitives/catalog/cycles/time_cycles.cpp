// Time cycles geometry: count ellipses of growing radii about the snapped centre, then the centre line.
#include "primitives/catalog/cycles/time_cycles.hpp"

#include <cmath>
#include <numbers>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/radial.hpp"
#include "primitives/catalog/cycles/cycle_stroke.hpp"

namespace qc::primitives::catalog {

std::vector<Point> TimeCycles::points() const { return centre_and_corner(bar, price, radius_bars, radius_price); }

void TimeCycles::set_points(std::span<const Point> points) {
  if (points.empty()) return;
  bar = points[0].bar;
  price = points[0].price;
  if (points.size() < 2) return;
  radius_bars = std::abs(points[1].bar - bar);
  radius_price = std::abs(points[1].price - price);
}

void TimeCycles::place(std::span<const Point> points) {
  const Point c = point_or(points, 0, {0.0, 100.0});
  const Point both[] = {c, point_or(points, 1, {c.bar + 20.0, c.price * 1.05})};
  set_points(both);
}

void TimeCycles::write_fields(JsonWriter& w) const {
  json_entry(w, "bar", bar);
  json_entry(w, "price", price);
  json_entry(w, "radius_bars", radius_bars);
  json_entry(w, "radius_price", radius_price);
  json_entry(w, "count", count);
}

void TimeCycles::render(RenderContext& ctx, bool) const {
  static constexpr double kCentreDash[] = {3.0, 3.0};
  const PixelSnap snap{ctx.dpr()};
  const PixelFrame f = pixel_frame(ctx, bar, price, radius_bars, radius_price);
  // NaN radii count as too small to see.
  if (!(f.rx >= 0.1) && !(f.ry >= 0.1)) return;
  set_cycle_stroke(ctx, data_);
  const double cx = snap(f.cx);
  const double cy = snap(f.cy);
  for (unsigned i = 1; i <= count; ++i) {
    ctx.begin_path();
    ctx.ellipse(cx, cy, f.rx * i, f.ry * i, 0.0, 0.0, 2.0 * std::numbers::pi);
    ctx.stroke();
  }
  ctx.set_line_dash(kCentreDash);
  stroke_segment(ctx, cx, snap(0.0), cx, snap(ctx.canvas_height()));
}

std::optional<TextAnchor> TimeCycles::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  const PixelFrame f = pixel_frame(ctx, bar, price, radius_bars, radius_price);
  const double rx = count * f.rx;
  const double ry = count * f.ry;
  return box_text_anchor(data_, {f.cx - rx, f.cy - ry, f.cx + rx, f.cy + ry});
}

std::unique_ptr<Primitive> create_time_cycles(std::span<const Point> points, std::string_view color) {
  return TimeCycles::create(points, color);
}

}  // namespace qc::primitives::catalog
