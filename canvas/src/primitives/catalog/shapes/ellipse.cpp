// Ellipse factory: the radii from the points given.
#include "primitives/catalog/shapes/ellipse.hpp"

#include <cmath>

namespace qc::primitives::catalog {

void Ellipse::place(std::span<const Point> points) {
  const Point c = point_or(points, 0, {0.0, 100.0});
  center_bar = c.bar;
  center_price = c.price;
  radius_price = points.empty() ? 5.0 : 0.05 * c.price;
  if (points.size() < 2) return;
  radius_bar = std::abs(points[1].bar - c.bar);
  radius_price = std::abs(points[1].price - c.price);
}

std::unique_ptr<Primitive> create_ellipse(std::span<const Point> points, std::string_view color) {
  return Ellipse::create(points, color);
}

}  // namespace qc::primitives::catalog
