// Trend angle geometry: the angle is taken in pixels (up is positive) and folded into -90..90 degrees, so
// a segment drawn right to left reads like the same line drawn left to right.
#include "primitives/catalog/lines/trend_angle.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "util/fixed.hpp"

namespace qc::primitives::catalog {

void TrendAngle::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const PixelSegment s = to_pixels(ctx);
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, snap(s.x1), snap(s.y1), snap(s.x2), snap(s.y2));
  ctx.set_line_dash({});

  const double dx = s.x2 - s.x1;
  const double rise = s.y1 - s.y2;
  constexpr double kHalfPi = std::numbers::pi / 2;
  const double a = std::abs(dx) > 0.001 ? std::atan(rise / dx) : (rise >= 0 ? kHalfPi : -kHalfPi);

  if (show_arc) {
    const double r = std::min(60.0, std::max(20.0, 0.3 * std::hypot(dx, rise)));
    static constexpr double kReferenceDash[] = {4.0, 4.0};
    ctx.set_line_dash(kReferenceDash);
    stroke_segment(ctx, s.x1, s.y1, s.x1 + 1.5 * r, s.y1);
    ctx.set_line_dash({});
    ctx.begin_path();
    if (a > 0) {
      ctx.arc(s.x1, s.y1, r, -a, 0.0);
    } else {
      ctx.arc(s.x1, s.y1, r, 0.0, -a);
    }
    ctx.stroke();
  }

  if (show_label) {
    std::string text;
    // + 0.0: a flat segment drawn right to left reads 0.0, not -0.0.
    util::append_fixed1(text, a * (180.0 / std::numbers::pi) + 0.0);
    text += "\u00B0";
    ctx.set_font("12px sans-serif");
    ctx.set_fill_color(data_.color.stroke);
    ctx.set_text_align(1);
    ctx.set_text_baseline(1);
    // 40 px out along the half angle, on the far side of the horizontal from the arc.
    ctx.fill_text(text, s.x1 + 40.0 * std::cos(-a / 2), s.y1 - 40.0 * std::sin(-a / 2));
  }
}

std::unique_ptr<Primitive> create_trend_angle(std::span<const Point> points, std::string_view color) {
  return TrendAngle::create(points, color);
}

}  // namespace qc::primitives::catalog
