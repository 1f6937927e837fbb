// Arrow down factory.
#include "primitives/catalog/arrows/arrow_down.hpp"

namespace qc::primitives::catalog {

std::unique_ptr<Primitive> create_arrow_down(std::span<const Point> points, std::string_view color) {
  return ArrowDown::create(points, color);
}

}  // namespace qc::primitives::catalog
