// Pixel points of a primitive's anchors and the straight paths drawn through them: polylines and
// filled triangles.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

struct PixelPoint {
  double x, y;
};

// Maps each anchor to pixels (bar_to_x, then price_to_y) into out, which holds at least as many points.
void map_points(const RenderContext& ctx, std::span<const Point> anchors, std::span<PixelPoint> out);

// A fixed array of anchors in pixels.
template <std::size_t N>
std::array<PixelPoint, N> map_points(const RenderContext& ctx, const std::array<Point, N>& anchors) {
  std::array<PixelPoint, N> out{};
  map_points(ctx, anchors, out);
  return out;
}

// One stroked path through the snapped points in order, in the current stroke state; a single point
// strokes a bare move.
void stroke_polyline(RenderContext& ctx, PixelSnap snap, std::span<const PixelPoint> points);

// Traces the closed triangle tip, base corner 1, base corner 2 (each snapped) and fills it; the outline is
// stroked over the fill when asked.
enum class Outline : bool { None, Stroke };
void draw_triangle(RenderContext& ctx, PixelSnap snap, PixelPoint tip, PixelPoint base1, PixelPoint base2,
                   Outline outline);

}  // namespace qc::primitives::catalog
