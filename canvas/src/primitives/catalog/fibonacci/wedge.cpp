// Fib wedge geometry: the translucent triangle under its snapped outline, then one line per level.
#include "primitives/catalog/fibonacci/wedge.hpp"

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/fibonacci/geometry.hpp"

namespace qc::primitives::catalog {

void FibWedge::write_fields(JsonWriter& w) const {
  write_anchor_fields(w);
  json_entry(w, "levels", levels);
  json_entry(w, "show_labels", show_labels);
  json_entry(w, "fill", fill);
  json_entry(w, "fill_opacity", fill_opacity);
}

void FibWedge::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const fibonacci::PixelPoint p1 = fibonacci::to_pixel(ctx, bar1, price1);
  const fibonacci::PixelPoint p2 = fibonacci::to_pixel(ctx, bar2, price2);
  const fibonacci::PixelPoint p3 = fibonacci::to_pixel(ctx, bar3, price3);
  if (fill) {
    // The shared fill rule, so that "#rgb" and "#rrggbbaa" strokes keep a visible fill.
    ctx.set_fill_color(fill_color_with_opacity(data_.color.stroke, fill_opacity));
    ctx.begin_path();
    ctx.move_to(p1.x, p1.y);
    ctx.line_to(p2.x, p2.y);
    ctx.line_to(p3.x, p3.y);
    ctx.close_path();
    ctx.fill();
  }
  StrokeScope stroke(ctx, data_);
  ctx.begin_path();
  ctx.move_to(snap(p1.x), snap(p1.y));
  ctx.line_to(snap(p2.x), snap(p2.y));
  ctx.line_to(snap(p3.x), snap(p3.y));
  ctx.close_path();
  ctx.stroke();
  for (double r : levels) {
    const fibonacci::PixelPoint a = fibonacci::to_pixel(ctx, bar1 + r * (bar2 - bar1), price1 + r * (price2 - price1));
    const fibonacci::PixelPoint b = fibonacci::to_pixel(ctx, bar1 + r * (bar3 - bar1), price1 + r * (price3 - price1));
    stroke_segment(ctx, snap(a.x), snap(a.y), snap(b.x), snap(b.y));
  }
}

std::unique_ptr<Primitive> create_fib_wedge(std::span<const Point> points, std::string_view color) {
  return FibWedge::create(points, color);
}

}  // namespace qc::primitives::catalog
