// Geometry the Fibonacci tools share: pixel points of anchors, their NaN-ignoring box and its label.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "primitives/catalog/common/labels.hpp"
#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog::fibonacci {

// The dash of the guide lines that join a tool's anchors (the retracement's and the trend time's trend).
inline constexpr std::array<double, 2> kGuideDash{4.0, 4.0};

struct PixelPoint {
  double x, y;
};

// An anchor in pixels, mapped bar first, then price.
inline PixelPoint to_pixel(const RenderContext& ctx, double bar, double price) {
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  return {x, y};
}

// The snapped base line P1-P2, then per ratio r a ray from P1 towards P2's x at the price r of the way
// from P1 to P2 (1 - r when `reverse`): carried the extension reach when `extend`, else ending at P2's x.
// Drawn in the current stroke state.
void stroke_fan_lines(RenderContext& ctx, Point p1, Point p2, std::span<const double> ratios, bool reverse, bool extend);

// The smallest box around pixel points; a NaN coordinate is skipped.
PixelBox pixel_box(std::span<const PixelPoint> points) noexcept;

// A label inside the pixel box of two anchors (10 px in from the edge the alignment names, or the middle).
std::optional<TextAnchor> two_point_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point a, Point b);

}  // namespace qc::primitives::catalog::fibonacci
