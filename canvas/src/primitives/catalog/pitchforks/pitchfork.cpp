// Pitchfork factory.
#include "primitives/catalog/pitchforks/pitchfork.hpp"

namespace qc::primitives::catalog {

std::unique_ptr<Primitive> create_pitchfork(std::span<const Point> points, std::string_view color) {
  return Pitchfork::create(points, color);
}

}  // namespace qc::primitives::catalog
