// Rotated rectangle geometry: four turned corners, filled unsnapped and outlined snapped.
#include "primitives/catalog/shapes/rotated_rectangle.hpp"

#include <cmath>

#include "util/safe_math.hpp"

#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/shapes/outline.hpp"

namespace qc::primitives::catalog {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kRadiansPerDegree = 0.017453292519943295;

double direction_degrees(Point from, Point to) {
  return std::atan2(to.price - from.price, to.bar - from.bar) * kDegreesPerRadian;
}

double distance(Point a, Point b) { return std::hypot(b.bar - a.bar, b.price - a.price); }

}  // namespace

void RotatedRectangle::place(std::span<const Point> points) {
  const Point c = point_or(points, 0, {0.0, 100.0});
  center_bar = c.bar;
  center_price = c.price;
  if (points.size() >= 3) {
    rotation = direction_degrees(c, points[1]);
    half_width = util::nan_max(0.5 * distance(c, points[1]), 1.0);
    half_height = util::nan_max(0.5 * distance(c, points[2]), 0.01);
  } else {
    half_width = 10.0;
    half_height = 0.03 * c.price;
    rotation = 0.0;
  }
}

std::array<Point, 4> RotatedRectangle::corners() const noexcept {
  const double theta = rotation * kRadiansPerDegree;
  const double cos_t = std::cos(theta);
  const double sin_t = std::sin(theta);
  const double w = half_width;
  const double h = half_height;
  const auto turn = [&](double dx, double dy) {
    return Point{center_bar + dx * cos_t - dy * sin_t, center_price + dx * sin_t + dy * cos_t};
  };
  return {turn(-w, -h), turn(w, -h), turn(w, h), turn(-w, h)};
}

std::vector<Point> RotatedRectangle::points() const {
  const auto c = corners();
  return {{center_bar, center_price}, c[1], c[2]};
}

void RotatedRectangle::set_points(std::span<const Point> points) {
  if (points.empty()) return;
  const Point c = points[0];
  center_bar = c.bar;
  center_price = c.price;
  if (points.size() >= 2) {
    rotation = direction_degrees(c, points[1]);
    half_width = util::nan_max(distance(c, points[1]), 1.0);
  }
  if (points.size() >= 3) half_height = util::nan_max(distance(c, points[2]), 0.01);
}

void RotatedRectangle::write_fields(JsonWriter& w) const {
  json_entry(w, "center_bar", center_bar);
  json_entry(w, "center_price", center_price);
  json_entry(w, "half_width", half_width);
  json_entry(w, "half_height", half_height);
  json_entry(w, "rotation", rotation);
  json_entry(w, "fill", fill);
  json_entry(w, "fill_opacity", fill_opacity);
}

void RotatedRectangle::render(RenderContext& ctx, bool) const {
  const auto c = corners();
  fill_and_outline(ctx, data_, to_pixels(ctx, c), {fill, fill_opacity}, true);
}

std::optional<TextAnchor> RotatedRectangle::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  return box_text_anchor(data_, chart_box(ctx, corners()));
}

std::unique_ptr<Primitive> create_rotated_rectangle(std::span<const Point> points, std::string_view color) {
  return RotatedRectangle::create(points, color);
}

}  // namespace qc::primitives::catalog
