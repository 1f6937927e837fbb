// The pixel box between two corner anchors, and the frame and diagonals the Gann box and square draw on it.
#pragma once

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"

namespace qc::primitives::catalog {

struct CornerBox {
  double x1, y1, x2, y2;  // the two corners in pixels, in anchor order
  PixelBox box;           // their NaN-ignoring extent
};

CornerBox corner_box(const RenderContext& ctx, Point a, Point b) noexcept;

// The outline from the snapped top-left corner with the unsnapped width and height.
void stroke_frame(RenderContext& ctx, const PixelSnap& snap, const PixelBox& box);

// Top-left to bottom-right, then bottom-left to top-right, snapped.
void stroke_diagonals(RenderContext& ctx, const PixelSnap& snap, const PixelBox& box);

}  // namespace qc::primitives::catalog
