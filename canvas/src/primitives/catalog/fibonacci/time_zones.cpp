// Fib time zones geometry: full-height lines, snapped across only.
#include "primitives/catalog/fibonacci/time_zones.hpp"

#include <algorithm>

#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

void FibTimeZones::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double h = ctx.chart_height();
  StrokeScope stroke(ctx, data_);
  const double x0 = snap(ctx.bar_to_x(start_bar));
  stroke_segment(ctx, x0, 0.0, x0, h);
  const std::size_t zones = std::min<std::size_t>(zone_count, kZoneOffsets.size());
  for (std::size_t i = 0; i < zones; ++i) {
    const double x = snap(ctx.bar_to_x(start_bar + kZoneOffsets[i]));
    stroke_segment(ctx, x, 0.0, x, h);
  }
}

std::unique_ptr<Primitive> create_fib_time_zones(std::span<const Point> points, std::string_view color) {
  return FibTimeZones::create(points, color);
}

}  // namespace qc::primitives::catalog
