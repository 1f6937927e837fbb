// Fib arcs: half ellipses (or whole ones) around the second anchor at ratios of the anchors' distance.
#pragma once

#include <optional>
#include <vector>

#include "primitives/catalog/fibonacci/anchors.hpp"

namespace qc::primitives::catalog {

class FibArcs final : public fibonacci::TwoAnchor<FibArcs> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fib_arcs;
  static constexpr double kDefaultWidth = 1.0;
  static constexpr Point kSecondOffset{20.0, 10.0};

  std::vector<double> levels{0.236, 0.382, 0.5, 0.618, 0.786, 1.0};
  bool show_labels = true;   // stored and written; nothing is drawn for it
  bool full_circle = false;  // whole ellipses instead of the half facing away from the first anchor

  void write_fields(JsonWriter& w) const {
    write_anchor_fields(w);
    json_entry(w, "levels", levels);
    json_entry(w, "show_labels", show_labels);
    json_entry(w, "full_circle", full_circle);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
