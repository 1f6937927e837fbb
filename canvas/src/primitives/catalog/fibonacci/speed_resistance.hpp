// Fib speed resistance: rays from the first anchor through the second anchor's x at ratios of the move.
#pragma once

#include <vector>

#include "primitives/catalog/fibonacci/anchors.hpp"

namespace qc::primitives::catalog {

class FibSpeedResistance final : public fibonacci::TwoAnchor<FibSpeedResistance> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fib_speed_resistance;
  static constexpr double kDefaultWidth = 1.0;
  static constexpr Point kSecondOffset{20.0, 10.0};

  std::vector<double> levels{0.25, 0.333, 0.382, 0.5, 0.618, 0.667, 0.75};
  bool show_labels = true;  // stored and written; nothing is drawn for it
  bool reverse = false;     // each ratio r is drawn as 1 - r

  void write_fields(JsonWriter& w) const {
    write_anchor_fields(w);
    json_entry(w, "levels", levels);
    json_entry(w, "show_labels", show_labels);
    json_entry(w, "reverse", reverse);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
