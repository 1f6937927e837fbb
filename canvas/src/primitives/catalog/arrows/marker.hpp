// Shared shape of the one-anchor arrow markers: a filled, outlined triangle of a pixel size at the anchor,
// and the label above, on or below it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

enum class ArrowDirection : std::uint8_t { Up, Down, Left, Right };
std::string_view json_name(ArrowDirection direction) noexcept;

// The triangle pointing in direction whose tip lies half_length from the anchor's pixel and whose base,
// half_length behind it, reaches half_base to either side; filled and outlined in the stroke colour.
void draw_marker(RenderContext& ctx, const PrimitiveData& data, Point anchor, ArrowDirection direction,
                 double half_length, double half_base);

// The label at the anchor's pixel, moved up or down by half the font size plus 20 px by v_align.
std::optional<TextAnchor> marker_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point anchor);

template <class Derived>
class PointMarker : public PrimitiveBase<Derived> {
 public:
  static constexpr double kDefaultWidth = 2.0;

  double bar = 0.0;
  double price = 0.0;

  static constexpr auto anchor_fields() { return std::array{AnchorField<Derived>{&Derived::bar, &Derived::price}}; }

  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    return marker_text_anchor(this->data_, ctx, {bar, price});
  }
};

}  // namespace qc::primitives::catalog
