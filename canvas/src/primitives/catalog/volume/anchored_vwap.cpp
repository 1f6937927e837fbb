// Anchored VWAP geometry: the level's dotted and dashed patterns grow with the device-pixel ratio; the
// bands are solid copies of the level at 30 % alpha.
#include "primitives/catalog/volume/anchored_vwap.hpp"

#include <array>
#include <span>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/volume/dot.hpp"

namespace qc::primitives::catalog {

void AnchoredVwap::render(RenderContext& ctx, bool) const {
  const double dpr = ctx.dpr();
  const PixelSnap snap{dpr};
  const double x = ctx.bar_to_x(anchor_bar);
  const double y = ctx.price_to_y(anchor_price);
  const double w = ctx.chart_width();
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(data_.width);
  // Dotted and dashed grow with the device-pixel ratio here, unlike the common table.
  std::array<double, 2> scaled{};
  std::span<const double> dash = line_style_dash(data_.style);
  if (data_.style == LineStyle::Dotted) {
    scaled = {2.0 * dpr, 3.0 * dpr};
    dash = scaled;
  } else if (data_.style == LineStyle::Dashed) {
    scaled = {10.0 * dpr, 5.0 * dpr};
    dash = scaled;
  }
  ctx.set_line_dash(dash);
  stroke_segment(ctx, snap(x), snap(y), snap(w), snap(y));
  ctx.set_line_dash({});
  fill_dot(ctx, data_.color.stroke, x, y, dpr);

  if (!show_bands) return;
  ctx.set_global_alpha(0.3);
  const double d = band_multiplier * 10.0;
  const double yu = ctx.price_to_y(anchor_price + d);
  stroke_segment(ctx, snap(x), snap(yu), snap(w), snap(yu));
  const double yl = ctx.price_to_y(anchor_price - d);
  stroke_segment(ctx, snap(x), snap(yl), snap(w), snap(yl));
  ctx.set_global_alpha(1.0);
}

std::unique_ptr<Primitive> create_anchored_vwap(std::span<const Point> points, std::string_view color) {
  return AnchoredVwap::create(points, color);
}

}  // namespace qc::primitives::catalog
