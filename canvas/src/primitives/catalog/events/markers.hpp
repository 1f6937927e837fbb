// Geometry the event markers share: glyph paths around one pixel point, the marker paint set-up, the
// label above or below a marker, and the JSON names of their enumerations.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <type_traits>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

inline constexpr double kFullTurn = 6.283185307179586;

struct Px {
  double x, y;
};

// Fill and stroke in the record's stroke colour, stroke width from the record, in that order.
void paint_in_stroke_color(RenderContext& ctx, const PrimitiveData& data);

// Each starts a new path with snapped vertices; the caller fills or strokes it.
void triangle_path(RenderContext& ctx, PixelSnap snap, Px a, Px b, Px c);
// Corners h above, right of, below and left of the centre.
void diamond_path(RenderContext& ctx, PixelSnap snap, Px centre, double h);
// The two diagonals of the square of half-size h, as two sub-paths.
void diagonal_cross_path(RenderContext& ctx, PixelSnap snap, Px centre, double h);
// A whole circle about the snapped centre; the radius is not snapped.
void circle_path(RenderContext& ctx, PixelSnap snap, Px centre, double radius);

// A label at the anchor's pixel point moved down by dy(text) (negative: up); none without non-empty text.
template <class VerticalOffset>
std::optional<TextAnchor> marker_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point at,
                                             VerticalOffset dy) {
  const PrimitiveText* text = label_text(data);
  if (text == nullptr) return std::nullopt;
  const double x = ctx.bar_to_x(at.bar);
  const double y = ctx.price_to_y(at.price);
  return TextAnchor::make(data.color.stroke, x, y + dy(*text));
}

// Above, on or below the marker by v_align, half the font size plus `clearance` pixels away.
std::optional<TextAnchor> aligned_marker_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point at,
                                                     double clearance);

// Above the marker whatever the alignment, half the font size plus `clearance` pixels away.
std::optional<TextAnchor> above_marker_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point at,
                                                   double clearance);

// Label widths are estimated from the text's length in bytes, not characters.
constexpr double byte_length(std::string_view text) noexcept { return static_cast<double>(text.size()); }

// The JSON name of an enumeration's variant from its table of names in variant order.
template <class E, std::size_t N>
  requires std::is_enum_v<E>
constexpr std::string_view variant_name(E v, const std::array<std::string_view, N>& names) noexcept {
  const auto i = static_cast<std::size_t>(v);
  return i < N ? names[i] : std::string_view{};
}

}  // namespace qc::primitives::catalog
