// Fib fan geometry: the base line and one snapped ray per level from the origin; its label follows the base.
#include "primitives/catalog/fibonacci/fan.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/fibonacci/geometry.hpp"

namespace qc::primitives::catalog {

void FibFan::render(RenderContext& ctx, bool) const {
  StrokeScope stroke(ctx, data_);
  fibonacci::stroke_fan_lines(ctx, {bar1, price1}, {bar2, price2}, levels, false, extend);
}

// In the anchors' box, turned along the base line.
std::optional<TextAnchor> FibFan::text_anchor(const RenderContext& ctx) const {
  auto anchor = fibonacci::two_point_text_anchor(data_, ctx, {bar1, price1}, {bar2, price2});
  if (anchor) {
    const fibonacci::PixelPoint p1 = fibonacci::to_pixel(ctx, bar1, price1);
    const fibonacci::PixelPoint p2 = fibonacci::to_pixel(ctx, bar2, price2);
    anchor->rotation = std::atan2(p2.y - p1.y, p2.x - p1.x);
  }
  return anchor;
}

std::unique_ptr<Primitive> create_fib_fan(std::span<const Point> points, std::string_view color) {
  return FibFan::create(points, color);
}

}  // namespace qc::primitives::catalog
