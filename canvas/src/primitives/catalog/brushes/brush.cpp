// Brush factory.
#include "primitives/catalog/brushes/brush.hpp"

namespace qc::primitives::catalog {

std::unique_ptr<Primitive> create_brush(std::span<const Point> points, std::string_view color) {
  return Brush::create(points, color);
}

}  // namespace qc::primitives::catalog
