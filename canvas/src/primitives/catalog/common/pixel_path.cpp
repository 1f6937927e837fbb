// Pixel anchor lists, polylines and midpoint-smoothed strokes.
#include "primitives/catalog/common/pixel_path.hpp"

#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

std::vector<PixelPoint> to_pixels(const RenderContext& ctx, std::span<const Point> anchors) {
  std::vector<PixelPoint> out;
  out.reserve(anchors.size());
  for (const Point& p : anchors) {
    const double x = ctx.bar_to_x(p.bar);
    out.push_back({x, ctx.price_to_y(p.price)});
  }
  return out;
}

std::vector<PixelPoint> snapped(std::span<const PixelPoint> points, double dpr) {
  std::vector<PixelPoint> out;
  out.reserve(points.size());
  for (const PixelPoint& p : points) out.push_back({snap_to_pixel(p.x, dpr), snap_to_pixel(p.y, dpr)});
  return out;
}

void append_polyline(RenderContext& ctx, std::span<const PixelPoint> points) {
  if (points.empty()) return;
  ctx.move_to(points[0].x, points[0].y);
  for (const PixelPoint& p : points.subspan(1)) ctx.line_to(p.x, p.y);
}

void append_smoothed(RenderContext& ctx, std::span<const PixelPoint> points) {
  const std::size_t n = points.size();
  if (n < 3) {
    append_polyline(ctx, points);
    return;
  }
  const auto mid = [&](std::size_t i) {
    return PixelPoint{(points[i].x + points[i + 1].x) * 0.5, (points[i].y + points[i + 1].y) * 0.5};
  };
  ctx.move_to(points[0].x, points[0].y);
  const PixelPoint first = mid(0);
  ctx.line_to(first.x, first.y);
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const PixelPoint end = mid(i);
    ctx.quadratic_curve_to(points[i].x, points[i].y, end.x, end.y);
  }
  ctx.line_to(points[n - 1].x, points[n - 1].y);
}

}  // namespace qc::primitives::catalog
