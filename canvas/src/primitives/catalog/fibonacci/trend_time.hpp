// Fib trend time: a dashed trend between two anchors and full-height lines at ratios of its bar span.
#pragma once

#include <vector>

#include "primitives/catalog/fibonacci/anchors.hpp"

namespace qc::primitives::catalog {

class FibTrendTime final : public fibonacci::TwoAnchor<FibTrendTime> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fib_trend_time;
  static constexpr double kDefaultWidth = 1.0;
  static constexpr Point kSecondOffset{20.0, 0.0};

  std::vector<double> levels{0.0, 0.236, 0.382, 0.5, 0.618, 0.786, 1.0, 1.272, 1.618, 2.0, 2.618};
  bool show_labels = true;  // stored and written; nothing is drawn for it

  void write_fields(JsonWriter& w) const {
    write_anchor_fields(w);
    json_entry(w, "levels", levels);
    json_entry(w, "show_labels", show_labels);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
