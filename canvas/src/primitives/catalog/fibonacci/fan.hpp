// Fib fan: rays from the first anchor through the second anchor's x at ratios of the price move.
#pragma once

#include <optional>
#include <vector>

#include "primitives/catalog/fibonacci/anchors.hpp"

namespace qc::primitives::catalog {

class FibFan final : public fibonacci::TwoAnchor<FibFan> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fib_fan;
  static constexpr double kDefaultWidth = 1.0;
  static constexpr Point kSecondOffset{20.0, 10.0};

  std::vector<double> levels{0.236, 0.382, 0.5, 0.618, 0.786};
  bool show_labels = true;  // stored and written; nothing is drawn for it
  bool extend = true;       // rays run the extension reach instead of ending at the second anchor's x

  void write_fields(JsonWriter& w) const {
    write_anchor_fields(w);
    json_entry(w, "levels", levels);
    json_entry(w, "show_labels", show_labels);
    json_entry(w, "extend", extend);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
