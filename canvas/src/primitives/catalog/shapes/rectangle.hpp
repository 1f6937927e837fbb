// Rectangle: an axis-aligned box between two corners, filled in a translucent stroke colour and outlined.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class Rectangle final : public PrimitiveBase<Rectangle> {
 public:
  static constexpr BuiltinType kType = BuiltinType::rectangle;
  static constexpr double kDefaultWidth = 2.0;
  static constexpr SetRule kSetRule = SetRule::AllOrNothing;

  double bar1 = 0.0;
  double price1 = 0.0;
  double bar2 = 0.0;
  double price2 = 0.0;
  bool fill = true;
  double fill_opacity = 0.2;
  double border_radius = 0.0;  // stored and written; corners are drawn square

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Rectangle>{&Rectangle::bar1, &Rectangle::price1},
                      AnchorField<Rectangle>{&Rectangle::bar2, &Rectangle::price2}};
  }
  // No second corner: ten bars right and 5 % above the first.
  void place(std::span<const Point> points);
  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
