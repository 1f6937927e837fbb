// Arrow marker geometry: a triangle size long and two thirds of size wide.
#include "primitives/catalog/arrows/arrow_marker.hpp"

namespace qc::primitives::catalog {

void ArrowMarker::render(RenderContext& ctx, bool) const {
  draw_marker(ctx, data_, {bar, price}, direction, size * 0.5, size / 3.0);
}

std::unique_ptr<Primitive> create_arrow_marker(std::span<const Point> points, std::string_view color) {
  return ArrowMarker::create(points, color);
}

}  // namespace qc::primitives::catalog
