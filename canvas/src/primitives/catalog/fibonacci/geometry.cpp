// Pixel boxes and the two-anchor label of the Fibonacci tools.
#include "primitives/catalog/fibonacci/geometry.hpp"

#include <limits>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/level_lines.hpp"

#include "util/safe_math.hpp"

namespace qc::primitives::catalog::fibonacci {

void stroke_fan_lines(RenderContext& ctx, Point p1, Point p2, std::span<const double> ratios, bool reverse, bool extend) {
  const double dpr = ctx.dpr();
  const PixelSnap snap{dpr};
  const PixelPoint a = to_pixel(ctx, p1.bar, p1.price);
  const PixelPoint b = to_pixel(ctx, p2.bar, p2.price);
  const double reach = extension_reach(ctx);
  stroke_segment(ctx, snap(a.x), snap(a.y), snap(b.x), snap(b.y));
  for (double r : ratios) {
    const double ratio = reverse ? 1.0 - r : r;
    const double y = ctx.price_to_y(p1.price + ratio * (p2.price - p1.price));
    ctx.begin_path();
    ctx.move_to(snap(a.x), snap(a.y));
    if (extend) {
      line_to_beyond(ctx, dpr, a.x, a.y, b.x, y, reach);
    } else {
      ctx.line_to(snap(b.x), snap(y));
    }
    ctx.stroke();
  }
}

PixelBox pixel_box(std::span<const PixelPoint> points) noexcept {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  PixelBox box{kNaN, kNaN, kNaN, kNaN};
  for (const PixelPoint& p : points) {
    box.left = util::nan_min(box.left, p.x);
    box.right = util::nan_max(box.right, p.x);
    box.top = util::nan_min(box.top, p.y);
    box.bottom = util::nan_max(box.bottom, p.y);
  }
  return box;
}

std::optional<TextAnchor> two_point_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point a, Point b) {
  if (label_text(data) == nullptr) return std::nullopt;
  const std::array corners{to_pixel(ctx, a.bar, a.price), to_pixel(ctx, b.bar, b.price)};
  return box_text_anchor(data, pixel_box(corners));
}

}  // namespace qc::primitives::catalog::fibonacci
