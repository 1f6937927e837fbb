// Flat top/bottom: a sloped line between two anchors and a horizontal line at a third price over the same
// bars, the region between them filled; named for the side of the sloped line's middle the flat line is on.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

enum class FlatType : std::uint8_t { Top = 0, Bottom = 1 };
std::string_view json_name(FlatType type) noexcept;

class FlatTopBottom final : public PrimitiveBase<FlatTopBottom> {
 public:
  static constexpr BuiltinType kType = BuiltinType::flat_top_bottom;
  static constexpr double kDefaultWidth = 2.0;

  double bar1 = 0.0;
  double price1 = 100.0;
  double bar2 = 20.0;
  double price2 = 105.0;
  double flat_price = 110.0;  // drawn from bar1 to bar2
  FlatType flat_type = FlatType::Top;  // where the flat line was when last derived; the render ignores it
  bool fill = true;
  double fill_opacity = 0.2;

  // translate moves the flat price with the anchors.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<FlatTopBottom>{&FlatTopBottom::bar1, &FlatTopBottom::price1},
                      AnchorField<FlatTopBottom>{&FlatTopBottom::bar2, &FlatTopBottom::price2},
                      AnchorField<FlatTopBottom>{nullptr, &FlatTopBottom::flat_price}};
  }
  // The sloped line's anchors, then the flat line's start.
  std::vector<Point> points() const override;
  // Two points set the sloped line; a third sets the flat price and names the tool again. Fewer than two
  // change nothing.
  void set_points(std::span<const Point> points) override;
  void place(std::span<const Point> points);
  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;

 private:
  // Top, and the display name "Flat Top", only when the flat price is above the sloped line's middle.
  void derive_type();
};

}  // namespace qc::primitives::catalog
