// Regression trend geometry: band, its upper and lower edges, then the centre line dashed [4, 4].
#include "primitives/catalog/channels/regression_trend.hpp"

#include <cmath>

#include "primitives/catalog/channels/band.hpp"
#include "primitives/catalog/common/drawing.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

void RegressionTrend::place(std::span<const Point> points) {
  if (points.empty()) return;
  const Point a = points[0];
  const Point anchors[] = {a, point_or(points, 1, {a.bar + 20.0, a.price})};
  set_points(anchors);
}

// The tool sees no bars: 15 % of the move, or 2 % of the first price when that is larger (a negative first
// price leaves the move's share). The move is taken from halved prices, so that it cannot overflow.
double RegressionTrend::half_width() const noexcept {
  const double dev = util::nan_max(0.3 * std::abs(price2 * 0.5 - price1 * 0.5), 0.02 * price1);
  return dev * std_dev_mult * 0.5;
}

void RegressionTrend::write_fields(JsonWriter& w) const {
  json_entry(w, "bar1", bar1);
  json_entry(w, "price1", price1);
  json_entry(w, "bar2", bar2);
  json_entry(w, "price2", price2);
  json_entry(w, "std_dev_mult", std_dev_mult);
  json_entry(w, "use_upper_deviation", use_upper_deviation);
  json_entry(w, "show_center", show_center);
  json_entry(w, "fill", fill);
  json_entry(w, "fill_opacity", fill_opacity);
  json_entry(w, "extend_right", extend_right);
}

void RegressionTrend::render(RenderContext& ctx, bool) const {
  static constexpr double kCenterDash[] = {4.0, 4.0};
  const PixelSnap snap{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double y1 = ctx.price_to_y(price1);
  const double x2 = ctx.bar_to_x(bar2);
  const double y2 = ctx.price_to_y(price2);
  const double w = half_width();
  const double yu1 = ctx.price_to_y(price1 + w);
  const double yu2 = ctx.price_to_y(price2 + w);
  const double yl1 = ctx.price_to_y(price1 - w);
  const double yl2 = ctx.price_to_y(price2 - w);
  if (fill) fill_band(ctx, data_.color.stroke, fill_opacity, {x1, yu1}, {x2, yu2}, {x2, yl2}, {x1, yl1});
  StrokeScope stroke(ctx, data_);
  stroke_segment(ctx, snap(x1), snap(yu1), snap(x2), snap(yu2));
  stroke_segment(ctx, snap(x1), snap(yl1), snap(x2), snap(yl2));
  if (show_center) {
    ctx.set_line_dash(kCenterDash);
    stroke_segment(ctx, snap(x1), snap(y1), snap(x2), snap(y2));
  }
}

std::optional<TextAnchor> RegressionTrend::text_anchor(const RenderContext& ctx) const {
  const PixelPoint a{ctx.bar_to_x(bar1), ctx.price_to_y(price1)};
  const PixelPoint b{ctx.bar_to_x(bar2), ctx.price_to_y(price2)};
  return channel_text_anchor(data_, a, b, [&](double t, double dx, double dy) {
    return PixelPoint{a.x + t * dx, a.y + t * dy};
  });
}

std::unique_ptr<Primitive> create_regression_trend(std::span<const Point> points, std::string_view color) {
  return RegressionTrend::create(points, color);
}

}  // namespace qc::primitives::catalog
