// Fixed Gann square: placed by its centre and a size in bars and in price; outline, diagonals and the cross
// through the centre.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class GannSquareFixed final : public PrimitiveBase<GannSquareFixed> {
 public:
  static constexpr BuiltinType kType = BuiltinType::gann_square_fixed;
  static constexpr double kDefaultWidth = 1.0;

  // The factory's square when no point is given: 20 bars by 10 about (0, 100).
  double center_bar = 0.0;
  double center_price = 100.0;
  double bar_size = 20.0;    // full width in bars
  double price_size = 10.0;  // full height in price units
  bool show_labels = true;   // stored and written; nothing is drawn for it
  bool show_numbers = false;  // stored and written; nothing is drawn for it

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<GannSquareFixed>{&GannSquareFixed::center_bar, &GannSquareFixed::center_price}};
  }
  // The centre, then the corner half a size up and to the right.
  std::vector<Point> points() const override;
  // The first point is the centre; a second one is a corner, giving the sizes (at least 1 each).
  void set_points(std::span<const Point> points) override;
  void place(std::span<const Point> points) { set_points(points); }
  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
