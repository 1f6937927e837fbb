// Ellipse: a centre with a radius in bars and one in price, filled translucent and outlined.
#pragma once

#include <span>

#include "primitives/catalog/shapes/round_shape.hpp"

namespace qc::primitives::catalog {

class Ellipse final : public RoundShape<Ellipse> {
 public:
  static constexpr BuiltinType kType = BuiltinType::ellipse;
  static constexpr double kMinPriceRadius = 0.01;

  double radius_bar = 10.0;

  double bar_radius() const noexcept { return radius_bar; }
  double& bar_radius() noexcept { return radius_bar; }

  // No point: centre (0, 100) with radii 10 and 5; one: radii 10 bars and 5 % of its price; two: the
  // plain distances, without lower bounds.
  void place(std::span<const Point> points);
  void write_fields(JsonWriter& w) const { write_round_fields(w, "radius_bar"); }
};

}  // namespace qc::primitives::catalog
