// Cross line: a horizontal and a vertical line through one anchor, each across the whole canvas.
#pragma once

#include <array>
#include <optional>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class CrossLine final : public PrimitiveBase<CrossLine> {
 public:
  static constexpr BuiltinType kType = BuiltinType::cross_line;
  static constexpr double kDefaultWidth = 1.0;

  double bar = 0.0;
  double price = 0.0;
  // Stored and written; the render draws both lines whatever they say.
  bool show_price_label = true;
  bool show_bar_label = true;

  static constexpr auto anchor_fields() { return std::array{AnchorField<CrossLine>{&CrossLine::bar, &CrossLine::price}}; }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "show_price_label", show_price_label);
    json_entry(w, "show_bar_label", show_bar_label);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    return offset_text_anchor(data_, ctx, {bar, price});
  }
};

}  // namespace qc::primitives::catalog
