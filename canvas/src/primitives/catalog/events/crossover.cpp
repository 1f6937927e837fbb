// Crossover geometry: the stroked diagonals of a size x size square and a filled dot of radius 3.
#include "primitives/catalog/events/crossover.hpp"

namespace qc::primitives::catalog {

void Crossover::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const Px at{ctx.bar_to_x(bar), ctx.price_to_y(price)};
  paint_in_stroke_color(ctx, data_);
  diagonal_cross_path(ctx, snap, at, size * 0.5);
  ctx.stroke();
  circle_path(ctx, snap, at, 3.0);
  ctx.fill();
}

// Clear of the cross: above, on or below it by v_align.
std::optional<TextAnchor> Crossover::text_anchor(const RenderContext& ctx) const {
  return aligned_marker_text_anchor(data_, ctx, {bar, price}, size);
}

std::unique_ptr<Primitive> create_crossover(std::span<const Point> points, std::string_view color) {
  return Crossover::create(points, color);
}

}  // namespace qc::primitives::catalog
