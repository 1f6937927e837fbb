// Fib arcs geometry: the base line, then one unsnapped ellipse arc per level centred on the second anchor.
#include "primitives/catalog/fibonacci/arcs.hpp"

#include <cmath>
#include <numbers>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/fibonacci/geometry.hpp"

namespace qc::primitives::catalog {

namespace {
// At least one pixel, so that coincident anchors still give arcs of r pixels; NaN gives one too.
double base_radius(double d) noexcept {
  const double a = std::abs(d);
  return a >= 1.0 ? a : 1.0;
}
}  // namespace

void FibArcs::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const fibonacci::PixelPoint p1 = fibonacci::to_pixel(ctx, bar1, price1);
  const fibonacci::PixelPoint p2 = fibonacci::to_pixel(ctx, bar2, price2);
  const double facing = std::atan2(p2.y - p1.y, p2.x - p1.x);
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, snap(p1.x), snap(p1.y), snap(p2.x), snap(p2.y));
  const double rx = base_radius(p2.x - p1.x);
  const double ry = base_radius(p2.y - p1.y);
  constexpr double kHalfPi = std::numbers::pi / 2;
  const double start = full_circle ? 0.0 : facing - kHalfPi;
  const double end = full_circle ? 2.0 * std::numbers::pi : facing + kHalfPi;
  for (double r : levels) {
    ctx.begin_path();
    ctx.ellipse(p2.x, p2.y, rx * r, ry * r, 0.0, start, end);
    ctx.stroke();
  }
}

std::optional<TextAnchor> FibArcs::text_anchor(const RenderContext& ctx) const {
  return fibonacci::two_point_text_anchor(data_, ctx, {bar1, price1}, {bar2, price2});
}

std::unique_ptr<Primitive> create_fib_arcs(std::span<const Point> points, std::string_view color) {
  return FibArcs::create(points, color);
}

}  // namespace qc::primitives::catalog
