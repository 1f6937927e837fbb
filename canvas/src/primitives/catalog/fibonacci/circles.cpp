// Fib circles geometry: concentric unsnapped ellipses; the edge is folded to the centre's upper right.
#include "primitives/catalog/fibonacci/circles.hpp"

#include <cmath>
#include <numbers>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/fibonacci/geometry.hpp"

namespace qc::primitives::catalog {

void FibCircles::write_fields(JsonWriter& w) const {
  write_anchor_fields(w);
  json_entry(w, "levels", levels);
  json_entry(w, "show_labels", show_labels);
}

void FibCircles::render(RenderContext& ctx, bool) const {
  const fibonacci::PixelPoint c = fibonacci::to_pixel(ctx, center_bar, center_price);
  const fibonacci::PixelPoint e = fibonacci::to_pixel(ctx, center_bar + std::abs(edge_bar - center_bar),
                                                      center_price + std::abs(edge_price - center_price));
  StrokeScope stroke(ctx, data_);
  if (levels.empty()) return;
  const double rx = std::abs(e.x - c.x);
  const double ry = std::abs(e.y - c.y);
  for (double r : levels) {
    ctx.begin_path();
    ctx.ellipse(c.x, c.y, r * rx, r * ry, 0.0, 0.0, 2.0 * std::numbers::pi);
    ctx.stroke();
  }
}

std::optional<TextAnchor> FibCircles::text_anchor(const RenderContext& ctx) const {
  return fibonacci::two_point_text_anchor(data_, ctx, {center_bar, center_price}, {edge_bar, edge_price});
}

std::unique_ptr<Primitive> create_fib_circles(std::span<const Point> points, std::string_view color) {
  return FibCircles::create(points, color);
}

}  // namespace qc::primitives::catalog
