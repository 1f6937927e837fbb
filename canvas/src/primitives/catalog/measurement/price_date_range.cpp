// Price/date range geometry: captions stack upwards from the centre, the price line above the bar line;
// the percentage is shown only beside the price change.
#include "primitives/catalog/measurement/price_date_range.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/measurement/band.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

void PriceDateRange::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const auto [x1, y1, x2, y2] = to_pixels(ctx);
  const double h = std::abs(y2 - y1);
  const double w = std::abs(x2 - x1);
  const double top = util::nan_min(y1, y2);
  const double left = util::nan_min(x1, x2);

  ctx.set_fill_color(band_color(data_.color.stroke));
  ctx.fill_rect(snap(left), snap(top), w, h);
  set_solid_stroke(ctx, data_);
  ctx.stroke_rect(snap(left), snap(top), w, h);

  const double cx = snap(left + w * 0.5);
  double cy = snap(top + h * 0.5) - 15.0;
  if (show_pips) {
    draw_caption(ctx, data_, price_change_caption(price1, price2, show_percentage), cx, cy);
    cy += 15.0;
  }
  if (show_bars) draw_caption(ctx, data_, bar_count_caption(bar1, bar2, true), cx, cy);
}

std::unique_ptr<Primitive> create_price_date_range(std::span<const Point> points, std::string_view color) {
  return PriceDateRange::create(points, color);
}

}  // namespace qc::primitives::catalog
