// Short position factory.
#include "primitives/catalog/projection/short_position.hpp"

namespace qc::primitives::catalog {

std::unique_ptr<Primitive> create_short_position(std::span<const Point> points, std::string_view color) {
  return ShortPosition::create(points, color);
}

}  // namespace qc::primitives::catalog
