// Ray geometry: the direction of the two anchors carried past the canvas; a degenerate ray runs right.
#include "primitives/catalog/lines/ray.hpp"

#include <cmath>

namespace qc::primitives::catalog {

void Ray::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const PixelSegment s = to_pixels(ctx);
  StrokeScope stroke(ctx, data_);
  const double dx = s.x2 - s.x1;
  const double dy = s.y2 - s.y1;
  const double len = std::sqrt(dx * dx + dy * dy);
  double end_x = ctx.chart_width();
  double end_y = s.y1;
  if (len > 0.001) {
    // Width plus height is longer than any line inside the canvas, so the ray always leaves it.
    const double reach = ctx.chart_width() + ctx.chart_height();
    end_x = s.x1 + dx / len * reach;
    end_y = s.y1 + dy / len * reach;
  }
  stroke_segment(ctx, snap(s.x1), snap(s.y1), snap(end_x), snap(end_y));
}

std::unique_ptr<Primitive> create_ray(std::span<const Point> points, std::string_view color) {
  return Ray::create(points, color);
}

}  // namespace qc::primitives::catalog
