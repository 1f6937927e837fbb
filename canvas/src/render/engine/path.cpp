// Path building with NaN-ignoring bounds.
#include "render/engine/path.hpp"

#include <cmath>

namespace qc::render {

PathBuilder PathBuilder::with_capacity(std::size_t capacity) {
  PathBuilder b;
  b.commands_.reserve(capacity);
  return b;
}

// std::fmin and std::fmax return the other operand when one is NaN, so a NaN coordinate leaves the bounds.
void PathBuilder::extend(double x, double y) {
  min_x_ = std::fmin(min_x_, x);
  max_x_ = std::fmax(max_x_, x);
  min_y_ = std::fmin(min_y_, y);
  max_y_ = std::fmax(max_y_, y);
}

PathBuilder& PathBuilder::move_to(double x, double y) {
  commands_.emplace_back(MoveTo{x, y});
  extend(x, y);
  current_ = subpath_start_ = {x, y};
  return *this;
}

PathBuilder& PathBuilder::line_to(double x, double y) {
  commands_.emplace_back(LineTo{x, y});
  extend(x, y);
  current_ = {x, y};
  return *this;
}

PathBuilder& PathBuilder::quad_to(double cx, double cy, double x, double y) {
  commands_.emplace_back(QuadTo{cx, cy, x, y});
  extend(cx, cy);
  extend(x, y);
  current_ = {x, y};
  return *this;
}

PathBuilder& PathBuilder::cubic_to(double c1x, double c1y, double c2x, double c2y, double x, double y) {
  commands_.emplace_back(CubicTo{c1x, c1y, c2x, c2y, x, y});
  extend(c1x, c1y);
  extend(c2x, c2y);
  extend(x, y);
  current_ = {x, y};
  return *this;
}

PathBuilder& PathBuilder::close() {
  commands_.emplace_back(Close{});
  current_ = subpath_start_;
  return *this;
}

PathBuilder& PathBuilder::arc(double cx, double cy, double radius, double start_angle, double end_angle,
                              bool anticlockwise) {
  commands_.emplace_back(Arc{cx, cy, radius, start_angle, end_angle, anticlockwise});
  extend(cx - radius, cy - radius);
  extend(cx + radius, cy + radius);
  subpath_start_ = {cx + radius * std::cos(start_angle), cy + radius * std::sin(start_angle)};
  current_ = {cx + radius * std::cos(end_angle), cy + radius * std::sin(end_angle)};
  return *this;
}

Path PathBuilder::build() {
  Path path;
  if (std::isfinite(min_x_)) path.bounds = {min_x_, min_y_, max_x_ - min_x_, max_y_ - min_y_};
  path.commands = std::move(commands_);
  commands_ = {};
  clear();
  return path;
}

void PathBuilder::clear() {
  commands_.clear();
  current_ = subpath_start_ = {};
  min_x_ = min_y_ = kInf;
  max_x_ = max_y_ = -kInf;
}

Path Path::polygon(std::span<const PixelPoint> points) {
  PathBuilder b = PathBuilder::with_capacity(points.size() + 1);
  if (points.empty()) return b.build();
  b.move_to(points[0].x, points[0].y);
  for (const PixelPoint& p : points.subspan(1)) b.line_to(p.x, p.y);
  return b.close().build();
}

}  // namespace qc::render
