// Fib wedge: a triangle from an apex to two far corners, with level lines joining its legs.
#pragma once

#include <vector>

#include "primitives/catalog/fibonacci/anchors.hpp"

namespace qc::primitives::catalog {

class FibWedge final : public fibonacci::ThreeAnchor<FibWedge> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fib_wedge;
  static constexpr double kDefaultWidth = 1.0;

  // P1 is the apex; missing far corners lie 20 bars on from it, 10 above and 10 below.
  static constexpr Point kSecondOffset{20.0, 10.0};
  static constexpr Point third_from(Point p1, Point) { return fibonacci::offset(p1, {20.0, -10.0}); }

  std::vector<double> levels{0.236, 0.382, 0.5, 0.618, 0.786};
  bool show_labels = true;  // stored and written; nothing is drawn for it
  bool fill = false;
  double fill_opacity = 0.1;

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
