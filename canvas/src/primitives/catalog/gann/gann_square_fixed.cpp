// Fixed Gann square geometry: the four corners around the centre, closed outline, diagonals, centre cross.
#include "primitives/catalog/gann/gann_square_fixed.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

namespace {

// Twice the distance from the centre, at least 1 (also for NaN), so that a corner on the centre keeps
// the square visible.
double size_from(double corner, double center) noexcept { return util::nan_max(2.0 * std::abs(corner - center), 1.0); }

}  // namespace

std::vector<Point> GannSquareFixed::points() const {
  return {{center_bar, center_price}, {center_bar + bar_size * 0.5, center_price + price_size * 0.5}};
}

void GannSquareFixed::set_points(std::span<const Point> points) {
  if (points.empty()) return;
  center_bar = points[0].bar;
  center_price = points[0].price;
  if (points.size() < 2) return;
  bar_size = size_from(points[1].bar, center_bar);
  price_size = size_from(points[1].price, center_price);
}

void GannSquareFixed::write_fields(JsonWriter& w) const {
  json_entry(w, "center_bar", center_bar);
  json_entry(w, "center_price", center_price);
  json_entry(w, "bar_size", bar_size);
  json_entry(w, "price_size", price_size);
  json_entry(w, "show_labels", show_labels);
  json_entry(w, "show_numbers", show_numbers);
}

void GannSquareFixed::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double cx = ctx.bar_to_x(center_bar);
  const double cy = ctx.price_to_y(center_price);
  const double hb = bar_size * 0.5;
  const double hp = price_size * 0.5;
  const Point chart[4] = {{center_bar - hb, center_price + hp},
                          {center_bar + hb, center_price + hp},
                          {center_bar + hb, center_price - hp},
                          {center_bar - hb, center_price - hp}};
  double x[4];
  double y[4];
  for (int i = 0; i < 4; ++i) {
    x[i] = ctx.bar_to_x(chart[i].bar);
    y[i] = ctx.price_to_y(chart[i].price);
  }
  StrokeScope stroke(ctx, data_);
  ctx.begin_path();
  ctx.move_to(snap(x[0]), snap(y[0]));
  for (int i = 1; i < 4; ++i) ctx.line_to(snap(x[i]), snap(y[i]));
  ctx.close_path();
  ctx.stroke();
  stroke_segment(ctx, snap(x[0]), snap(y[0]), snap(x[2]), snap(y[2]));
  stroke_segment(ctx, snap(x[1]), snap(y[1]), snap(x[3]), snap(y[3]));
  double min_x = x[0], max_x = x[0], min_y = y[0], max_y = y[0];
  for (int i = 1; i < 4; ++i) {
    min_x = util::nan_min(min_x, x[i]);
    max_x = util::nan_max(max_x, x[i]);
    min_y = util::nan_min(min_y, y[i]);
    max_y = util::nan_max(max_y, y[i]);
  }
  stroke_segment(ctx, snap(min_x), snap(cy), snap(max_x), snap(cy));
  stroke_segment(ctx, snap(cx), snap(min_y), snap(cx), snap(max_y));
}

std::optional<TextAnchor> GannSquareFixed::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  const double left = ctx.bar_to_x(center_bar - bar_size * 0.5);
  const double right = ctx.bar_to_x(center_bar + bar_size * 0.5);
  const double top = ctx.price_to_y(center_price + price_size * 0.5);
  const double bottom = ctx.price_to_y(center_price - price_size * 0.5);
  return box_text_anchor(data_, {left, top, right, bottom});
}

std::unique_ptr<Primitive> create_gann_square_fixed(std::span<const Point> points, std::string_view color) {
  return GannSquareFixed::create(points, color);
}

}  // namespace qc::primitives::catalog
