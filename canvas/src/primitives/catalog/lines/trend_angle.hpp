// Trend angle: a segment with a dashed horizontal reference, an arc and its slope in screen degrees.
#pragma once

#include "primitives/catalog/lines/segment.hpp"

namespace qc::primitives::catalog {

class TrendAngle final : public Segment<TrendAngle> {
 public:
  static constexpr BuiltinType kType = BuiltinType::trend_angle;
  static constexpr double kDefaultWidth = 2.0;

  bool show_arc = true;
  bool show_label = true;

  void write_fields(JsonWriter& w) const {
    write_anchor_fields(w);
    json_entry(w, "show_arc", show_arc);
    json_entry(w, "show_label", show_label);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
