// Triangle: a closed, filled outline through three vertices.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class Triangle final : public PrimitiveBase<Triangle> {
 public:
  static constexpr BuiltinType kType = BuiltinType::triangle;
  static constexpr double kDefaultWidth = 2.0;

  double bar1 = 0.0;
  double price1 = 100.0;
  double bar2 = 0.0;
  double price2 = 0.0;
  double bar3 = 0.0;
  double price3 = 0.0;
  bool fill = true;
  double fill_opacity = 0.2;

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Triangle>{&Triangle::bar1, &Triangle::price1},
                      AnchorField<Triangle>{&Triangle::bar2, &Triangle::price2},
                      AnchorField<Triangle>{&Triangle::bar3, &Triangle::price3}};
  }
  // Missing vertices: ten bars right and 5 % up, and five bars right and 5 % down, from the first.
  void place(std::span<const Point> points);
  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  // Box rule, but centred on the mean vertex rather than the box's middle.
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
