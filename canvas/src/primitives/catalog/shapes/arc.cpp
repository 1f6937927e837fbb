// Arc geometry: the stroked arc of the bar radius in pixels; end angles from the direction of a point.
#include "primitives/catalog/shapes/arc.hpp"

#include <cmath>
#include <numbers>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/radial.hpp"

namespace qc::primitives::catalog {
namespace {
constexpr double kRadiansPerDegree = 0.017453292519943295;
}  // namespace

std::vector<Point> Arc::points() const {
  return {{center_bar, center_price},
          {center_bar + radius_bars * std::cos(start_angle * kRadiansPerDegree), center_price},
          {center_bar + radius_bars * std::cos(end_angle * kRadiansPerDegree), center_price}};
}

void Arc::set_points(std::span<const Point> points) {
  if (points.empty()) return;
  center_bar = points[0].bar;
  center_price = points[0].price;
  if (points.size() >= 2) {
    radius_bars = radius_at_least(points[1].bar - center_bar, 1.0);
    start_angle = 0.0;
  }
  if (points.size() >= 3) {
    const double a = std::atan2(points[2].price - center_price, points[2].bar - center_bar) * 57.29577951308232;
    end_angle = a < 0.0 ? a + 360.0 : a;
  }
}

void Arc::write_fields(JsonWriter& w) const {
  json_entry(w, "center_bar", center_bar);
  json_entry(w, "center_price", center_price);
  json_entry(w, "radius_bars", radius_bars);
  json_entry(w, "start_angle", start_angle);
  json_entry(w, "end_angle", end_angle);
}

void Arc::render(RenderContext& ctx, bool) const {
  const double cx = ctx.bar_to_x(center_bar);
  const double cy = ctx.price_to_y(center_price);
  const double r = std::abs(ctx.bar_to_x(center_bar + radius_bars) - cx);
  StrokeScope stroke(ctx, data_);
  ctx.begin_path();
  ctx.arc(cx, cy, r, start_angle * std::numbers::pi / 180.0, end_angle * std::numbers::pi / 180.0);
  ctx.stroke();
}

std::optional<TextAnchor> Arc::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  return TextAnchor::make(data_.color.stroke, ctx.bar_to_x(center_bar), ctx.price_to_y(center_price));
}

std::unique_ptr<Primitive> create_arc(std::span<const Point> points, std::string_view color) {
  return Arc::create(points, color);
}

}  // namespace qc::primitives::catalog
