// Vector paths: a command list with a running bounding box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <variant>
#include <vector>

#include "render/engine/types.hpp"

namespace qc::render {

struct MoveTo {
  double x, y;
  friend bool operator==(const MoveTo&, const MoveTo&) = default;
};
struct LineTo {
  double x, y;
  friend bool operator==(const LineTo&, const LineTo&) = default;
};
struct QuadTo {
  double cx, cy, x, y;
  friend bool operator==(const QuadTo&, const QuadTo&) = default;
};
struct CubicTo {
  double c1x, c1y, c2x, c2y, x, y;
  friend bool operator==(const CubicTo&, const CubicTo&) = default;
};
// Angles in radians.
struct Arc {
  double cx, cy, radius, start_angle, end_angle;
  bool anticlockwise;
  friend bool operator==(const Arc&, const Arc&) = default;
};
struct Ellipse {
  double cx, cy, rx, ry, rotation, start_angle, end_angle;
  bool anticlockwise;
  friend bool operator==(const Ellipse&, const Ellipse&) = default;
};
struct Close {
  friend bool operator==(const Close&, const Close&) = default;
};

// The alternative's index is the command's code (MoveTo 0 … Close 6).
using PathCommand = std::variant<MoveTo, LineTo, QuadTo, CubicTo, Arc, Ellipse, Close>;

struct Path {
  std::vector<PathCommand> commands;
  Rect bounds;

  // A closed polygon: move to the first point, line to each further one, close.
  static Path polygon(std::span<const PixelPoint> points);
};

class PathBuilder {
 public:
  PathBuilder() = default;
  static PathBuilder with_capacity(std::size_t capacity);

  PathBuilder& move_to(double x, double y);
  PathBuilder& line_to(double x, double y);
  PathBuilder& quad_to(double cx, double cy, double x, double y);
  PathBuilder& cubic_to(double c1x, double c1y, double c2x, double c2y, double x, double y);
  PathBuilder& close();
  // A circular arc from start_angle to end_angle (radians) about (cx, cy); it starts its own subpath
  // and leaves the current point at its end. The bounds take the whole circle's box.
  PathBuilder& arc(double cx, double cy, double radius, double start_angle, double end_angle, bool anticlockwise);

  // Hands over the commands with their bounds ((0, 0, 0, 0) when no coordinate was finite) and leaves
  // the builder empty, as after clear().
  Path build();

  // Forgets every command, the current point, the subpath start and the bounds; keeps the capacity.
  void clear();

  std::span<const PathCommand> commands() const { return commands_; }
  PixelPoint current_point() const { return current_; }

 private:
  void extend(double x, double y);

  std::vector<PathCommand> commands_;
  PixelPoint current_;
  PixelPoint subpath_start_;
  double min_x_ = kInf, min_y_ = kInf, max_x_ = -kInf, max_y_ = -kInf;

  static constexpr double kInf = std::numeric_limits<double>::infinity();
};

}  // namespace qc::render
