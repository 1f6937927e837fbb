// Double curve geometry: one unsnapped cubic segment and its derived S-shaped controls.
#include "primitives/catalog/shapes/double_curve.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/pixel_path.hpp"

namespace qc::primitives::catalog {

void DoubleCurve::place(std::span<const Point> points) {
  const Point start = point_or(points, 0, {0.0, 100.0});
  const Point end = point_or(points, 1, {start.bar + 30.0, start.price});
  start_bar = start.bar;
  start_price = start.price;
  end_bar = end.bar;
  end_price = end.price;
  derive_controls(0.3 * std::abs(end_price - start_price));
  take_controls(points);
}

void DoubleCurve::set_points(std::span<const Point> points) {
  if (points.empty()) return;
  start_bar = points[0].bar;
  start_price = points[0].price;
  if (points.size() < 2) return;
  end_bar = points[1].bar;
  end_price = points[1].price;
  derive_controls(0.5 * (end_price - start_price));
  take_controls(points);
}

void DoubleCurve::derive_controls(double rise) noexcept {
  const double span = end_bar - start_bar;
  control1_bar = start_bar + 0.33 * span;
  control1_price = start_price + rise;
  control2_bar = start_bar + 0.67 * span;
  control2_price = end_price - rise;
}

void DoubleCurve::take_controls(std::span<const Point> points) noexcept {
  if (points.size() >= 3) {
    control1_bar = points[2].bar;
    control1_price = points[2].price;
  }
  if (points.size() >= 4) {
    control2_bar = points[3].bar;
    control2_price = points[3].price;
  }
}

void DoubleCurve::write_fields(JsonWriter& w) const {
  json_entry(w, "start_bar", start_bar);
  json_entry(w, "start_price", start_price);
  json_entry(w, "control1_bar", control1_bar);
  json_entry(w, "control1_price", control1_price);
  json_entry(w, "control2_bar", control2_bar);
  json_entry(w, "control2_price", control2_price);
  json_entry(w, "end_bar", end_bar);
  json_entry(w, "end_price", end_price);
}

void DoubleCurve::render(RenderContext& ctx, bool) const {
  const Point anchors[] = {
      {start_bar, start_price}, {control1_bar, control1_price}, {control2_bar, control2_price}, {end_bar, end_price}};
  const auto p = to_pixels(ctx, anchors);
  StrokeScope stroke(ctx, data_);
  ctx.begin_path();
  ctx.move_to(p[0].x, p[0].y);
  ctx.bezier_curve_to(p[1].x, p[1].y, p[2].x, p[2].y, p[3].x, p[3].y);
  ctx.stroke();
}

std::optional<TextAnchor> DoubleCurve::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  const double bar = 0.125 * start_bar + 0.375 * control1_bar + 0.375 * control2_bar + 0.125 * end_bar;
  const double price = 0.125 * start_price + 0.375 * control1_price + 0.375 * control2_price + 0.125 * end_price;
  return TextAnchor::make(data_.color.stroke, ctx.bar_to_x(bar), ctx.price_to_y(price));
}

std::unique_ptr<Primitive> create_double_curve(std::span<const Point> points, std::string_view color) {
  return DoubleCurve::create(points, color);
}

}  // namespace qc::primitives::catalog
