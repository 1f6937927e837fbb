// Fib trend extension geometry: the trend P1-P2-P3, then level lines from P3's x to the right edge, each
// labelled at its left end.
#include "primitives/catalog/fibonacci/trend_extension.hpp"

#include <string>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/fibonacci/geometry.hpp"
#include "primitives/catalog/fibonacci/level_labels.hpp"

namespace qc::primitives::catalog {

void FibTrendExtension::write_fields(JsonWriter& w) const {
  write_anchor_fields(w);
  json_entry(w, "levels", levels);
  json_entry(w, "show_prices", show_prices);
  json_entry(w, "show_percentages", show_percentages);
  json_entry(w, "extend_right", extend_right);
}

void FibTrendExtension::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const fibonacci::PixelPoint p1 = fibonacci::to_pixel(ctx, bar1, price1);
  const fibonacci::PixelPoint p2 = fibonacci::to_pixel(ctx, bar2, price2);
  const fibonacci::PixelPoint p3 = fibonacci::to_pixel(ctx, bar3, price3);
  const double right = snap(ctx.chart_width());
  StrokeScope stroke(ctx, data_);
  ctx.begin_path();
  ctx.move_to(snap(p1.x), snap(p1.y));
  ctx.line_to(snap(p2.x), snap(p2.y));
  ctx.line_to(snap(p3.x), snap(p3.y));
  ctx.stroke();
  for (double r : levels) {
    const double y = snap(ctx.price_to_y(price3 + r * (price2 - price1)));
    stroke_segment(ctx, snap(p3.x), y, right, y);
  }
  std::string label;
  for (double r : levels) {
    const double price = price3 + r * (price2 - price1);
    fibonacci::write_level_label(label, r, price, {show_percentages, show_prices});
    fibonacci::draw_level_label(ctx, label, data_.color.stroke, p3.x, ctx.price_to_y(price));
  }
}

std::unique_ptr<Primitive> create_fib_trend_extension(std::span<const Point> points, std::string_view color) {
  return FibTrendExtension::create(points, color);
}

}  // namespace qc::primitives::catalog
