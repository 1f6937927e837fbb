// Fixed volume profile geometry: boundaries over the full height; the profile of the bars between them,
// its rows growing right from the left boundary, the longest 30 % of the boundaries' distance, with the
// point-of-control and value-area lines between the boundaries.
#include "primitives/catalog/volume/fixed_volume_profile.hpp"

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/volume/profile.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

void FixedVolumeProfile::render(RenderContext& ctx, bool) const {
  const PixelSnap s{ctx.dpr()};
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

  const model::BarsView bars = ctx.bars();
  const auto span = held_bars(bars.size(), bar1, bar2);
  if (!span) return;
  const auto profile = measure_volume_profile(bars, *span, rows);
  if (!profile) return;
  draw_volume_profile(ctx, data_, *profile,
                      {.x = left, .longest = (right - left) * 0.3, .line_left = left, .line_right = right,
                       .show_poc = show_poc, .show_value_area = show_value_area});
}

std::unique_ptr<Primitive> create_fixed_volume_profile(std::span<const Point> points, std::string_view color) {
  return FixedVolumeProfile::create(points, color);
}

}  // namespace qc::primitives::catalog
