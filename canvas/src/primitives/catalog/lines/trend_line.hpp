// Trend line: a segment between two anchors, optionally carried to the left and/or right chart edge.
#pragma once

#include "primitives/catalog/lines/segment.hpp"

namespace qc::primitives::catalog {

class TrendLine final : public Segment<TrendLine> {
 public:
  static constexpr BuiltinType kType = BuiltinType::trend_line;
  static constexpr double kDefaultWidth = 2.0;

  ExtendMode extend = ExtendMode::None;
  bool show_price_labels = false;  // stored and written; nothing is drawn for it

  void write_fields(JsonWriter& w) const {
    write_anchor_fields(w);
    json_entry(w, "extend", extend);
    json_entry(w, "show_price_labels", show_price_labels);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
