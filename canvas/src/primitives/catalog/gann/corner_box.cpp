// Pixel boxes of two-corner Gann tools.
#include "primitives/catalog/gann/corner_box.hpp"

#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

CornerBox corner_box(const RenderContext& ctx, Point a, Point b) noexcept {
  const double x1 = ctx.bar_to_x(a.bar);
  const double y1 = ctx.price_to_y(a.price);
  const double x2 = ctx.bar_to_x(b.bar);
  const double y2 = ctx.price_to_y(b.price);
  return {x1, y1, x2, y2, {util::nan_min(x1, x2), util::nan_min(y1, y2), util::nan_max(x1, x2), util::nan_max(y1, y2)}};
}

void stroke_frame(RenderContext& ctx, const PixelSnap& snap, const PixelBox& box) {
  ctx.begin_path();
  ctx.rect(snap(box.left), snap(box.top), box.right - box.left, box.bottom - box.top);
  ctx.stroke();
}

void stroke_diagonals(RenderContext& ctx, const PixelSnap& snap, const PixelBox& box) {
  const double l = snap(box.left);
  const double t = snap(box.top);
  const double r = snap(box.right);
  const double b = snap(box.bottom);
  stroke_segment(ctx, l, t, r, b);
  stroke_segment(ctx, l, b, r, t);
}

}  // namespace qc::primitives::catalog
