// Circle: a centre with a radius in bars and one in price, so on screen an ellipse following both scales.
#pragma once

#include <span>

#include "primitives/catalog/shapes/round_shape.hpp"

namespace qc::primitives::catalog {

class Circle final : public RoundShape<Circle> {
 public:
  static constexpr BuiltinType kType = BuiltinType::circle;
  static constexpr double kMinPriceRadius = 1.0;

  double radius_bars = 10.0;

  double bar_radius() const noexcept { return radius_bars; }
  double& bar_radius() noexcept { return radius_bars; }

  // One point: radii 10 bars and 2 % of its price; two: the distances, each at least 1.
  void place(std::span<const Point> points);
  void write_fields(JsonWriter& w) const { write_round_fields(w, "radius_bars"); }
};

}  // namespace qc::primitives::catalog
