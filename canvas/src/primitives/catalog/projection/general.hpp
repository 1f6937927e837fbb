// Projection: the move P1 to P2 with ten horizontal ratio levels of that move from P2 to the right edge.
#pragma once

#include <span>

#include "primitives/catalog/common/two_point.hpp"

namespace qc::primitives::catalog {

class Projection final : public TwoPoint<Projection> {
 public:
  static constexpr BuiltinType kType = BuiltinType::projection;
  static constexpr double kDefaultWidth = 2.0;

  bool show_labels = true;  // stored and written; nothing is drawn for it
  bool show_levels = true;

  // Without points P1 is (0, 100); a missing P2 lies 20 bars ahead and 10 price units up.
  void place(std::span<const Point> points) { place_two(points, {0.0, 100.0}, {20.0, 10.0}); }

  void write_fields(JsonWriter& w) const {
    write_anchor_fields(w);
    json_entry(w, "show_labels", show_labels);
    json_entry(w, "show_levels", show_levels);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
