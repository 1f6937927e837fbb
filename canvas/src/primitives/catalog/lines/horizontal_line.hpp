// Horizontal line: a level at one price across the whole canvas.
#pragma once

#include <array>
#include <optional>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class HorizontalLine final : public PrimitiveBase<HorizontalLine> {
 public:
  static constexpr BuiltinType kType = BuiltinType::horizontal_line;
  static constexpr double kDefaultWidth = 1.0;

  double price = 0.0;
  bool show_price_label = true;  // stored and written; nothing is drawn for it

  // Only a price: the anchor's bar reads as 0 and is never stored.
  static constexpr auto anchor_fields() { return std::array{AnchorField<HorizontalLine>{nullptr, &HorizontalLine::price}}; }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "price", price);
    json_entry(w, "show_price_label", show_price_label);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
