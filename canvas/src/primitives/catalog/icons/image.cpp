// Image geometry: the picture when the context can draw it, else its box with both diagonals.
#include "primitives/catalog/icons/image.hpp"

#include <algorithm>
#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

void Image::set_points(std::span<const Point> points) {
  if (points.empty()) return;
  center_bar = points[0].bar;
  center_price = points[0].price;
  if (points.size() < 2) return;
  radius_bars = util::nan_max(std::abs(points[1].bar - points[0].bar), 0.5);
  radius_price = util::nan_max(std::abs(points[1].price - points[0].price), 1.0);
}

void Image::render(RenderContext& ctx, bool) const {
  const PixelSnap s{ctx.dpr()};
  const double cx = ctx.bar_to_x(center_bar);
  const double cy = ctx.price_to_y(center_price);
  const double rx = std::abs(ctx.bar_to_x(center_bar + radius_bars) - cx);
  const double ry = std::abs(ctx.price_to_y(center_price + radius_price) - cy);
  const double left = cx - rx;
  const double top = cy - ry;
  if (!url.empty() && ctx.draw_image(url, left, top, 2 * rx, 2 * ry)) return;
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(1.0);
  ctx.stroke_rect(s(left), s(top), 2 * rx, 2 * ry);
  ctx.begin_path();
  ctx.move_to(s(left), s(top));
  ctx.line_to(s(left + 2 * rx), s(top + 2 * ry));
  ctx.move_to(s(left + 2 * rx), s(top));
  ctx.line_to(s(left), s(top + 2 * ry));
  ctx.stroke();
}

std::unique_ptr<Primitive> create_image(std::span<const Point> points, std::string_view color) {
  return Image::create(points, color);
}

}  // namespace qc::primitives::catalog
