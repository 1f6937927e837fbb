// Date range geometry: band and boundary lines span the document's height; the caption stands 10 px above
// the anchor price, centred in the band.
#include "primitives/catalog/measurement/date_range.hpp"

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/measurement/band.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

void DateRange::place(std::span<const Point> points) {
  if (points.empty()) return;
  bar1 = points[0].bar;
  price = points[0].price;
  bar2 = point_or(points, 1, {bar1 + 20.0, price}).bar;
}

void DateRange::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double x2 = ctx.bar_to_x(bar2);
  const double y = ctx.price_to_y(price);
  const double left = util::nan_min(x1, x2);
  const double right = util::nan_max(x1, x2);
  const auto height = static_cast<double>(ctx.height());

  ctx.set_fill_color(band_color(data_.color.stroke));
  ctx.fill_rect(snap(left), 0.0, right - left, height);
  set_solid_stroke(ctx, data_);
  stroke_segment(ctx, snap(x1), 0.0, snap(x1), height);
  stroke_segment(ctx, snap(x2), 0.0, snap(x2), height);

  draw_caption(ctx, data_, bar_count_caption(bar1, bar2, show_bars), snap(left + (right - left) * 0.5), snap(y - 10.0));
}

std::unique_ptr<Primitive> create_date_range(std::span<const Point> points, std::string_view color) {
  return DateRange::create(points, color);
}

}  // namespace qc::primitives::catalog
