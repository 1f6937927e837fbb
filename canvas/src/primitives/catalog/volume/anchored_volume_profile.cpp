// Anchored volume profile geometry: a full-height line at the anchor and the profile of the bars from the
// anchor to the last, its rows growing right from the anchor, the longest 40 % of the room to the chart's
// right edge, with the point-of-control and value-area lines as long as the longest row.
#include "primitives/catalog/volume/anchored_volume_profile.hpp"

#include <algorithm>
#include <limits>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/volume/dot.hpp"
#include "primitives/catalog/volume/profile.hpp"

namespace qc::primitives::catalog {

void AnchoredVolumeProfile::render(RenderContext& ctx, bool) const {
  const double dpr = ctx.dpr();
  const PixelSnap snap{dpr};
  const double x = ctx.bar_to_x(anchor_bar);
  const double h = ctx.chart_height();
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(data_.width);
  ctx.set_line_dash({});
  stroke_segment(ctx, snap(x), 0.0, snap(x), h);

  const model::BarsView bars = ctx.bars();
  const auto span = held_bars(bars.size(), anchor_bar, std::numeric_limits<double>::max());
  const auto profile = span ? measure_volume_profile(bars, *span, rows) : std::nullopt;
  if (profile) {
    const double widest = std::max(ctx.chart_width() - x, 0.0) * 0.4;
    draw_volume_profile(ctx, data_, *profile,
                        {.x = x, .longest = widest, .line_left = x, .line_right = x + widest, .show_poc = show_poc,
                         .show_value_area = true});
  }
  fill_dot(ctx, data_.color.stroke, x, h * 0.5, dpr);
}

std::unique_ptr<Primitive> create_anchored_volume_profile(std::span<const Point> points, std::string_view color) {
  return AnchoredVolumeProfile::create(points, color);
}

}  // namespace qc::primitives::catalog
