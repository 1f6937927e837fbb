// Vertical line: a line at one bar from the top to the bottom of the canvas.
#pragma once

#include <array>
#include <optional>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class VerticalLine final : public PrimitiveBase<VerticalLine> {
 public:
  static constexpr BuiltinType kType = BuiltinType::vertical_line;
  static constexpr double kDefaultWidth = 1.0;

  double bar_idx = 0.0;
  bool show_time_label = true;  // stored and written; nothing is drawn for it

  // Only a bar: the anchor's price reads as 0 and is never stored.
  static constexpr auto anchor_fields() { return std::array{AnchorField<VerticalLine>{&VerticalLine::bar_idx, nullptr}}; }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar_idx", bar_idx);
    json_entry(w, "show_time_label", show_time_label);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
