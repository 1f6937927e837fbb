// Arrow up factory.
#include "primitives/catalog/arrows/arrow_up.hpp"

namespace qc::primitives::catalog {

std::unique_ptr<Primitive> create_arrow_up(std::span<const Point> points, std::string_view color) {
  return ArrowUp::create(points, color);
}

}  // namespace qc::primitives::catalog
