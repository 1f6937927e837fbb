// Fib spiral geometry: 200 points in chart units from the edge inwards, joined by one unsnapped path.
#include "primitives/catalog/fibonacci/spiral.hpp"

#include <cmath>
#include <numbers>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/fibonacci/geometry.hpp"

namespace qc::primitives::catalog {

void FibSpiral::write_fields(JsonWriter& w) const {
  write_anchor_fields(w);
  json_entry(w, "rotations", rotations);
  json_entry(w, "clockwise", clockwise);
  json_entry(w, "flip_horizontal", flip_horizontal);
  json_entry(w, "flip_vertical", flip_vertical);
}

void FibSpiral::render(RenderContext& ctx, bool) const {
  constexpr int kPoints = 200;
  // ln(golden ratio) / (pi / 2): the radius shrinks by the golden ratio every quarter turn.
  constexpr double kDecay = 0.30634896253003313;
  StrokeScope stroke(ctx, data_);
  const double d_bar = edge_bar - center_bar;
  const double d_price = edge_price - center_price;
  const double theta_max = rotations * 2.0 * std::numbers::pi;
  ctx.begin_path();
  for (int i = 0; i < kPoints; ++i) {
    const double theta = i / double{kPoints - 1} * theta_max;
    const double f = std::exp(-kDecay * theta);
    const double angle = clockwise ? theta : -theta;
    const double u = (flip_horizontal ? -1.0 : 1.0) * std::cos(angle) * f;
    const double v = (flip_vertical ? -1.0 : 1.0) * std::sin(angle) * f;
    const fibonacci::PixelPoint p = fibonacci::to_pixel(ctx, center_bar + u * d_bar, center_price + v * d_price);
    if (i == 0) {
      ctx.move_to(p.x, p.y);
    } else {
      ctx.line_to(p.x, p.y);
    }
  }
  ctx.stroke();
}

std::optional<TextAnchor> FibSpiral::text_anchor(const RenderContext& ctx) const {
  return fibonacci::two_point_text_anchor(data_, ctx, {center_bar, center_price}, {edge_bar, edge_price});
}

std::unique_ptr<Primitive> create_fib_spiral(std::span<const Point> points, std::string_view color) {
  return FibSpiral::create(points, color);
}

}  // namespace qc::primitives::catalog
