// Fib speed resistance geometry: the base line, then one ray per level carried the extension reach.
#include "primitives/catalog/fibonacci/speed_resistance.hpp"

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/fibonacci/geometry.hpp"

namespace qc::primitives::catalog {

void FibSpeedResistance::render(RenderContext& ctx, bool) const {
  StrokeScope stroke(ctx, data_);
  fibonacci::stroke_fan_lines(ctx, {bar1, price1}, {bar2, price2}, levels, reverse, true);
}

std::unique_ptr<Primitive> create_fib_speed_resistance(std::span<const Point> points, std::string_view color) {
  return FibSpeedResistance::create(points, color);
}

}  // namespace qc::primitives::catalog
