// Price range geometry: band and boundary lines span the document's width; only the caption follows bar.
#include "primitives/catalog/measurement/price_range.hpp"

#include <string>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/measurement/band.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

void PriceRange::place(std::span<const Point> points) {
  if (points.empty()) return;
  bar = points[0].bar;
  price1 = points[0].price;
  price2 = point_or(points, 1, {bar, price1 + 10.0}).price;
}

void PriceRange::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y1 = ctx.price_to_y(price1);
  const double y2 = ctx.price_to_y(price2);
  const double top = util::nan_min(y1, y2);
  const double bottom = util::nan_max(y1, y2);
  const auto width = static_cast<double>(ctx.width());

  ctx.set_fill_color(band_color(data_.color.stroke));
  ctx.fill_rect(0.0, snap(top), width, bottom - top);
  set_solid_stroke(ctx, data_);
  stroke_segment(ctx, 0.0, snap(y1), width, snap(y1));
  stroke_segment(ctx, 0.0, snap(y2), width, snap(y2));

  std::string text;
  if (!show_percentage) {
    text = price_change_caption(price1, price2, false);
  } else if (show_pips) {
    text = price_change_caption(price1, price2, true);
  } else {
    append_percent_change(text, price1, price2);
  }
  draw_caption(ctx, data_, text, snap(x + 10.0), snap(top + (bottom - top) * 0.5));
}

std::unique_ptr<Primitive> create_price_range(std::span<const Point> points, std::string_view color) {
  return PriceRange::create(points, color);
}

}  // namespace qc::primitives::catalog
