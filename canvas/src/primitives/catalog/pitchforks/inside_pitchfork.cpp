// Inside pitchfork factory.
#include "primitives/catalog/pitchforks/inside_pitchfork.hpp"

namespace qc::primitives::catalog {

std::unique_ptr<Primitive> create_inside_pitchfork(std::span<const Point> points, std::string_view color) {
  return InsidePitchfork::create(points, color);
}

}  // namespace qc::primitives::catalog
