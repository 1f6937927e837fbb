// Horizontal ray: a level that starts at its anchor and runs to the right canvas edge.
#pragma once

#include <array>
#include <optional>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class HorizontalRay final : public PrimitiveBase<HorizontalRay> {
 public:
  static constexpr BuiltinType kType = BuiltinType::horizontal_ray;
  static constexpr double kDefaultWidth = 2.0;

  double bar = 0.0;
  double price = 0.0;
  bool show_price_label = true;  // stored and written; nothing is drawn for it

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<HorizontalRay>{&HorizontalRay::bar, &HorizontalRay::price}};
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "show_price_label", show_price_label);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
