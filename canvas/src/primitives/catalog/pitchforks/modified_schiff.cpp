// Modified Schiff pitchfork factory.
#include "primitives/catalog/pitchforks/modified_schiff.hpp"

namespace qc::primitives::catalog {

std::unique_ptr<Primitive> create_modified_schiff(std::span<const Point> points, std::string_view color) {
  return ModifiedSchiff::create(points, color);
}

}  // namespace qc::primitives::catalog
