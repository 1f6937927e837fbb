// Recorded drawing commands: what a render batch holds and replays onto a backend.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "render/engine/path.hpp"
#include "render/engine/types.hpp"

namespace qc::render::cmd {

struct FillPath {
  Path path;
  FillKind fill;
};
struct StrokePath {
  Path path;
  StrokeStyle stroke;
};
struct FillRect {
  Rect rect;
  Color color;
};
struct StrokeRect {
  StrokeStyle stroke;
  Rect rect;
};
struct Line {
  StrokeStyle stroke;
  double x1, y1, x2, y2;
};
struct Polyline {
  std::vector<PixelPoint> points;
  StrokeStyle stroke;
};
struct FillCircle {
  double cx, cy, radius;
  Color color;
};
struct StrokeCircle {
  StrokeStyle stroke;
  double cx, cy, radius;
};
struct FillEllipse {
  double cx, cy, rx, ry;
  Color color;
};
struct StrokeEllipse {
  StrokeStyle stroke;
  double cx, cy, rx, ry;
};
struct StrokeArc {
  StrokeStyle stroke;
  double cx, cy, radius, start_angle, end_angle;
};
struct Text {
  std::string text;
  TextStyle style;
  double x, y;
};

}  // namespace qc::render::cmd

namespace qc::render {

// The alternative's index is the command's number; the ellipse and arc commands are recorded but have
// no backend operation to replay them.
using RenderCommand =
    std::variant<cmd::FillPath, cmd::StrokePath, cmd::FillRect, cmd::StrokeRect, cmd::Line, cmd::Polyline,
                 cmd::FillCircle, cmd::StrokeCircle, cmd::FillEllipse, cmd::StrokeEllipse, cmd::StrokeArc,
                 cmd::Text>;

// The area a command covers, for the batch's bounds; nothing for a polyline without points.
std::optional<Rect> command_bounds(const RenderCommand& command);

}  // namespace qc::render
