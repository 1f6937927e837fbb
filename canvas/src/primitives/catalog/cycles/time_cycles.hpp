// Time cycles: concentric ellipses around an anchor, with a dashed vertical line through their centre.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class TimeCycles final : public PrimitiveBase<TimeCycles> {
 public:
  static constexpr BuiltinType kType = BuiltinType::time_cycles;
  static constexpr double kDefaultWidth = 1.0;

  double bar = 0.0;
  double price = 100.0;
  double radius_bars = 20.0;
  double radius_price = 5.0;
  std::uint8_t count = 5;  // ellipses, the i-th of i times the radii

  // Only the centre moves with translate.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<TimeCycles>{&TimeCycles::bar, &TimeCycles::price}};
  }
  // The centre, then the centre moved by both radii.
  std::vector<Point> points() const override;
  // The centre; a second point sets the radii from its distance to the new centre.
  void set_points(std::span<const Point> points) override;
  // No second point: twenty bars right and 5 % above the centre.
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  // The box rule on the outermost ellipse.
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
