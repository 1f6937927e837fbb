// Circle factory: the radii from the points given.
#include "primitives/catalog/shapes/circle.hpp"

namespace qc::primitives::catalog {

void Circle::place(std::span<const Point> points) {
  if (points.empty()) return;  // centre (0, 0), radii 10 bars and 0
  center_bar = points[0].bar;
  center_price = points[0].price;
  if (points.size() < 2) {
    radius_price = 0.02 * center_price;
    return;
  }
  radius_bars = radius_at_least(points[1].bar - center_bar, 1.0);
  radius_price = radius_at_least(points[1].price - center_price, 1.0);
}

std::unique_ptr<Primitive> create_circle(std::span<const Point> points, std::string_view color) {
  return Circle::create(points, color);
}

}  // namespace qc::primitives::catalog
