// Fixed volume profile geometry: boundaries over the full height, rows growing right from the right
// boundary (longest in the middle), the point-of-control line and the dashed value-area lines.
#include "primitives/catalog/volume/fixed_volume_profile.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

void FixedVolumeProfile::render(RenderContext& ctx, bool) const {
  const double r = ctx.dpr();
  const PixelSnap s{r};
  const double xa = ctx.bar_to_x(bar1);
  const double xb = ctx.bar_to_x(bar2);
  const double left = util::nan_min(xa, xb);
  const double right = util::nan_max(xa, xb);
  const double h = ctx.chart_height();

  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(data_.width);
  ctx.set_line_dash({});
  stroke_segment(ctx, s(left), 0.0, s(left), h);
  stroke_segment(ctx, s(right), 0.0, s(right), h);

  ctx.set_fill_color(data_.color.stroke);
  ctx.set_global_alpha(0.5);
  if (rows > 0) {
    const double row_height = h / rows;
    const double half = rows * 0.5;
    const double longest = (right - left) * 0.3;
    for (unsigned i = 0; i < rows; ++i) {
      const double length = (1.0 - std::min(std::abs(i - half) / half, 1.0)) * longest;
      ctx.begin_path();
      ctx.rect(right, i * row_height, length, row_height);
      ctx.fill();
    }
  }
  ctx.set_global_alpha(1.0);

  if (show_poc) {
    ctx.set_stroke_color("#FFEB3B");
    ctx.set_stroke_width(2.0 * r);
    stroke_segment(ctx, s(left), s(h * 0.5), s(right), s(h * 0.5));
  }
  if (show_value_area) {
    const std::array<double, 2> dash = {5.0 * r, 3.0 * r};
    ctx.set_stroke_color(data_.color.stroke);
    ctx.set_global_alpha(0.3);
    ctx.set_stroke_width(r);
    ctx.set_line_dash(dash);
    for (double edge : {0.35, 0.65}) stroke_segment(ctx, s(left), s(edge * h), s(right), s(edge * h));
    ctx.set_global_alpha(1.0);
    ctx.set_line_dash({});
  }
}

std::unique_ptr<Primitive> create_fixed_volume_profile(std::span<const Point> points, std::string_view color) {
  return FixedVolumeProfile::create(points, color);
}

}  // namespace qc::primitives::catalog
