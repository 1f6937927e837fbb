// Polylines and filled triangles through snapped pixel points.
#include "primitives/catalog/common/pixel_paths.hpp"

#include <algorithm>

namespace qc::primitives::catalog {

void map_points(const RenderContext& ctx, std::span<const Point> anchors, std::span<PixelPoint> out) {
  const std::size_t n = std::min(anchors.size(), out.size());
  for (std::size_t i = 0; i < n; ++i) {
    const double x = ctx.bar_to_x(anchors[i].bar);
    out[i] = {x, ctx.price_to_y(anchors[i].price)};
  }
}

void stroke_polyline(RenderContext& ctx, PixelSnap snap, std::span<const PixelPoint> points) {
  if (points.empty()) return;
  ctx.begin_path();
  ctx.move_to(snap(points[0].x), snap(points[0].y));
  for (const PixelPoint& p : points.subspan(1)) ctx.line_to(snap(p.x), snap(p.y));
  ctx.stroke();
}

namespace {
void trace_triangle(RenderContext& ctx, PixelSnap snap, PixelPoint tip, PixelPoint base1, PixelPoint base2) {
  ctx.begin_path();
  ctx.move_to(snap(tip.x), snap(tip.y));
  ctx.line_to(snap(base1.x), snap(base1.y));
  ctx.line_to(snap(base2.x), snap(base2.y));
  ctx.close_path();
}
}  // namespace

// fill() consumes the path, so the outline is traced a second time rather than stroking an empty path.
void draw_triangle(RenderContext& ctx, PixelSnap snap, PixelPoint tip, PixelPoint base1, PixelPoint base2,
                   Outline outline) {
  trace_triangle(ctx, snap, tip, base1, base2);
  ctx.fill();
  if (outline == Outline::None) return;
  trace_triangle(ctx, snap, tip, base1, base2);
  ctx.stroke();
}

}  // namespace qc::primitives::catalog
