// Anchored volume profile geometry: row i of n is (1 - |i - n/2| / (n/2)) of the widest bar, which is 40 %
// of the room right of the anchor; an anchor right of the chart makes that room, and the bars, negative.
#include "primitives/catalog/volume/anchored_volume_profile.hpp"

#include <algorithm>
#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/volume/dot.hpp"

namespace qc::primitives::catalog {

void AnchoredVolumeProfile::render(RenderContext& ctx, bool) const {
  const double dpr = ctx.dpr();
  const PixelSnap snap{dpr};
  const double x = ctx.bar_to_x(anchor_bar);
  const double w = ctx.chart_width();
  const double h = ctx.chart_height();
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(data_.width);
  ctx.set_line_dash({});
  stroke_segment(ctx, snap(x), 0.0, snap(x), h);

  const double widest = (w - x) * 0.4;
  ctx.set_fill_color(data_.color.stroke);
  ctx.set_global_alpha(0.5);
  if (rows != 0) {
    const double row_height = h / rows;
    const double centre = rows * 0.5;
    for (unsigned i = 0; i < rows; ++i) {
      const double width = (1.0 - std::min(1.0, std::abs(i - centre) / centre)) * widest;
      ctx.begin_path();
      ctx.rect(x, i * row_height, width, row_height);
      ctx.fill();
    }
  }
  ctx.set_global_alpha(1.0);

  const double mid = h * 0.5;
  if (show_poc) {
    ctx.set_stroke_color("#FFEB3B");
    ctx.set_stroke_width(2.0 * dpr);
    stroke_segment(ctx, snap(x), snap(mid), snap(x + widest), snap(mid));
  }
  fill_dot(ctx, data_.color.stroke, x, mid, dpr);
}

std::unique_ptr<Primitive> create_anchored_volume_profile(std::span<const Point> points, std::string_view color) {
  return AnchoredVolumeProfile::create(points, color);
}

}  // namespace qc::primitives::catalog
