// Emoji sticker: one of 36 vector pictograms drawn inside an elliptical frame given in chart units.
#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/icons/pictograms.hpp"

namespace qc::primitives::catalog {

class Emoji final : public PrimitiveBase<Emoji> {
 public:
  static constexpr BuiltinType kType = BuiltinType::emoji;
  static constexpr double kDefaultWidth = 1.0;  // stored; the pictograms use their own widths
  static constexpr std::string_view kInstanceName = "Emoji";

  double center_bar = 0.0;
  double center_price = 100.0;
  double radius_bars = 5.0;
  double radius_price = 50.0;
  EmojiType emoji_type = EmojiType::Target;

  // Only the centre moves with translate; the radii stay.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Emoji>{&Emoji::center_bar, &Emoji::center_price}};
  }
  // The centre, then the centre moved by both radii.
  std::vector<Point> points() const override;
  // The centre; a second point sets the radii, at least half a bar and one price unit.
  void set_points(std::span<const Point> points) override;
  // Radii from the first two points, each at least 1; one point gives 5 bars and 50 price units.
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
