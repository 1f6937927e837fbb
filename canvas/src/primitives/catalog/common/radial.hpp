// Centre-and-radii anchors shared by the round tools: radii with lower bounds, the radius corner anchor and
// the frame in pixels.
#pragma once

#include <cmath>
#include <vector>

#include "primitives/core/render.hpp"
#include "primitives/core/types.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

// |d| but at least lo; a NaN difference gives lo.
inline double radius_at_least(double d, double lo) noexcept { return util::nan_max(std::abs(d), lo); }

// The anchors of a centre-and-radii tool: the centre, then the centre moved by both radii.
inline std::vector<Point> centre_and_corner(double bar, double price, double radius_bars, double radius_price) {
  return {{bar, price}, {bar + radius_bars, price + radius_price}};
}

// A centre and two radii in pixels. The radii are absolute distances, so the frame is never mirrored.
struct PixelFrame {
  double cx, cy, rx, ry;
};

// Maps the centre (bar, then price), then the bar radius, then the price radius.
inline PixelFrame pixel_frame(const RenderContext& ctx, double bar, double price, double radius_bars,
                              double radius_price) {
  const double cx = ctx.bar_to_x(bar);
  const double cy = ctx.price_to_y(price);
  const double rx = std::abs(ctx.bar_to_x(bar + radius_bars) - cx);
  const double ry = std::abs(ctx.price_to_y(price + radius_price) - cy);
  return {cx, cy, rx, ry};
}

}  // namespace qc::primitives::catalog
