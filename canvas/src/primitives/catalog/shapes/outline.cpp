// Polygon fill and snapped outline shared by the triangle, rotated rectangle and polyline.
#include "primitives/catalog/shapes/outline.hpp"


#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

void fill_and_outline(RenderContext& ctx, const PrimitiveData& data, std::span<const PixelPoint> points,
                      ShapeFill fill, bool closed) {
  const double dpr = ctx.dpr();
  if (fill.enabled) {
    ctx.set_fill_color(fill_color_with_opacity(data.color.stroke, fill.opacity));
    ctx.begin_path();
    append_polyline(ctx, points);
    ctx.close_path();
    ctx.fill();
  }
  StrokeScope stroke(ctx, data);
  ctx.begin_path();
  append_polyline(ctx, snapped(points, dpr));
  if (closed) ctx.close_path();
  ctx.stroke();
}

}  // namespace qc::primitives::catalog
