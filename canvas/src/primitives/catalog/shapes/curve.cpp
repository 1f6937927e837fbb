// Curve geometry: one unsnapped quadratic segment; a missing control bows the chord upwards.
#include "primitives/catalog/shapes/curve.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/pixel_path.hpp"

namespace qc::primitives::catalog {

void Curve::place(std::span<const Point> points) {
  const Point start = point_or(points, 0, {0.0, 100.0});
  const Point end = point_or(points, 1, {start.bar + 20.0, start.price});
  const Point given[] = {start, end};
  set_points(given);
  if (points.size() >= 3) set_points(points.first(3));
}

void Curve::set_points(std::span<const Point> points) {
  if (points.empty()) return;
  start_bar = points[0].bar;
  start_price = points[0].price;
  if (points.size() >= 2) {
    end_bar = points[1].bar;
    end_price = points[1].price;
    derive_control();
  }
  if (points.size() >= 3) {
    control_bar = points[2].bar;
    control_price = points[2].price;
  }
}

void Curve::derive_control() noexcept {
  control_bar = (start_bar + end_bar) * 0.5;
  control_price = (start_price + end_price) * 0.5 + 0.3 * std::abs(end_price - start_price);
}

void Curve::write_fields(JsonWriter& w) const {
  json_entry(w, "start_bar", start_bar);
  json_entry(w, "start_price", start_price);
  json_entry(w, "control_bar", control_bar);
  json_entry(w, "control_price", control_price);
  json_entry(w, "end_bar", end_bar);
  json_entry(w, "end_price", end_price);
}

void Curve::render(RenderContext& ctx, bool) const {
  const Point anchors[] = {{start_bar, start_price}, {control_bar, control_price}, {end_bar, end_price}};
  const auto p = to_pixels(ctx, anchors);
  StrokeScope stroke(ctx, data_);
  ctx.begin_path();
  ctx.move_to(p[0].x, p[0].y);
  ctx.quadratic_curve_to(p[1].x, p[1].y, p[2].x, p[2].y);
  ctx.stroke();
}

std::optional<TextAnchor> Curve::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  const double bar = 0.25 * start_bar + 0.5 * control_bar + 0.25 * end_bar;
  const double price = 0.25 * start_price + 0.5 * control_price + 0.25 * end_price;
  return TextAnchor::make(data_.color.stroke, ctx.bar_to_x(bar), ctx.price_to_y(price));
}

std::unique_ptr<Primitive> create_curve(std::span<const Point> points, std::string_view color) {
  return Curve::create(points, color);
}

}  // namespace qc::primitives::catalog
