// Rotated rectangle: a filled rectangle of given half sizes turned about its centre in (bar, price) space.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class RotatedRectangle final : public PrimitiveBase<RotatedRectangle> {
 public:
  static constexpr BuiltinType kType = BuiltinType::rotated_rectangle;
  static constexpr double kDefaultWidth = 2.0;

  double center_bar = 0.0;
  double center_price = 100.0;
  double half_width = 10.0;   // bars and price together: the chart's mixed units
  double half_height = 3.0;
  double rotation = 0.0;      // degrees, counter-clockwise in (bar, price) space
  bool fill = true;
  double fill_opacity = 0.2;

  // Only the centre moves with translate; the corners follow from it.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<RotatedRectangle>{&RotatedRectangle::center_bar, &RotatedRectangle::center_price}};
  }
  // With three points the half sizes are half the distances to the second and third; with fewer, a
  // level box ten bars wide and 3 % of the centre price high.
  void place(std::span<const Point> points);

  // The corners of local offsets (-w, -h), (w, -h), (w, h), (-w, h), turned by the rotation.
  std::array<Point, 4> corners() const noexcept;

  // The centre and the second and third corners.
  std::vector<Point> points() const override;
  // The centre; a second point sets the rotation and the whole distance as the half width; a third the
  // whole distance as the half height.
  void set_points(std::span<const Point> points) override;

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
