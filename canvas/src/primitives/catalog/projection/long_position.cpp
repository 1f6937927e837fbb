// Long position factory.
#include "primitives/catalog/projection/long_position.hpp"

namespace qc::primitives::catalog {

std::unique_ptr<Primitive> create_long_position(std::span<const Point> points, std::string_view color) {
  return LongPosition::create(points, color);
}

}  // namespace qc::primitives::catalog
