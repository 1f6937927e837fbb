// Anchor lists in pixels and the path shapes drawn through them: open or closed polylines and the
// midpoint-smoothed stroke of free-hand tools.
#pragma once

#include <span>
#include <vector>

#include "primitives/core/render.hpp"
#include "primitives/core/types.hpp"

namespace qc::primitives::catalog {

struct PixelPoint {
  double x = 0.0;
  double y = 0.0;
};

// Every anchor mapped in list order, bar_to_x then price_to_y.
std::vector<PixelPoint> to_pixels(const RenderContext& ctx, std::span<const Point> anchors);

// A copy with both coordinates of every point snapped to the device pixel grid.
std::vector<PixelPoint> snapped(std::span<const PixelPoint> points, double dpr);

// Appends move_to the first point and line_to each further one (no begin_path, no close).
void append_polyline(RenderContext& ctx, std::span<const PixelPoint> points);

// Appends a stroke through the segments' midpoints that bends at the inner points and starts and ends
// exactly at the first and last points: line to the first midpoint, one quadratic curve per inner point,
// line to the last point. Needs at least three points; fewer append a plain polyline.
void append_smoothed(RenderContext& ctx, std::span<const PixelPoint> points);

}  // namespace qc::primitives::catalog
