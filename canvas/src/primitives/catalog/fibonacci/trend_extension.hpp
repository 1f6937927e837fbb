// Fib trend extension: a three-point trend and one line per ratio of the first move, measured from P3.
#pragma once

#include <vector>

#include "primitives/catalog/fibonacci/anchors.hpp"

namespace qc::primitives::catalog {

class FibTrendExtension final : public fibonacci::ThreeAnchor<FibTrendExtension> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fib_trend_extension;
  static constexpr double kDefaultWidth = 1.0;

  // Missing anchors follow the given ones: P2 ten bars on and ten up from P1, P3 five on and five down from P2.
  static constexpr Point kSecondOffset{10.0, 10.0};
  static constexpr Point third_from(Point, Point p2) { return fibonacci::offset(p2, {5.0, -5.0}); }

  std::vector<double> levels{0.0, 0.236, 0.382, 0.5, 0.618, 0.786, 1.0, 1.272, 1.618, 2.0, 2.618, 3.618, 4.236};
  // The parts of each level's label: its price, and its ratio (written as a ratio, not a percentage).
  bool show_prices = true;
  bool show_percentages = true;
  // Stored and written; the levels always run to the right edge.
  bool extend_right = true;

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
