// Price label: a filled box centred on the anchor showing its price (or a chosen text), with an optional
// dashed line from the left edge.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "primitives/catalog/annotations/point_anchor.hpp"

namespace qc::primitives::catalog {

class PriceLabel final : public PrimitiveBase<PriceLabel> {
 public:
  static constexpr BuiltinType kType = BuiltinType::price_label;
  static constexpr double kDefaultWidth = 1.0;

  double bar = 0.0;
  double price = 0.0;
  std::optional<std::string> custom_text;
  bool show_line = true;

  static constexpr auto anchor_fields() { return bar_price_anchor<PriceLabel>(); }
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
