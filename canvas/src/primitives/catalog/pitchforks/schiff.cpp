// Schiff pitchfork factory.
#include "primitives/catalog/pitchforks/schiff.hpp"

namespace qc::primitives::catalog {

std::unique_ptr<Primitive> create_schiff_pitchfork(std::span<const Point> points, std::string_view color) {
  return SchiffPitchfork::create(points, color);
}

}  // namespace qc::primitives::catalog
