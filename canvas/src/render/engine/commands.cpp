// Bounds of each recorded command.
#include "render/engine/commands.hpp"

#include <cmath>
#include <limits>

namespace qc::render {
namespace {

Rect grown(Rect r, double stroke_width) {
  const double h = stroke_width / 2;
  return {r.x - h, r.y - h, r.width + stroke_width, r.height + stroke_width};
}

Rect circle_box(double cx, double cy, double rx, double ry) { return {cx - rx, cy - ry, 2 * rx, 2 * ry}; }

struct BoundsOf {
  std::optional<Rect> operator()(const cmd::FillPath& c) const { return c.path.bounds; }
  std::optional<Rect> operator()(const cmd::StrokePath& c) const { return grown(c.path.bounds, c.stroke.width); }
  std::optional<Rect> operator()(const cmd::FillRect& c) const { return c.rect; }
  std::optional<Rect> operator()(const cmd::StrokeRect& c) const { return grown(c.rect, c.stroke.width); }
  std::optional<Rect> operator()(const cmd::Line& c) const {
    const Rect r{std::fmin(c.x1, c.x2), std::fmin(c.y1, c.y2), std::fabs(c.x2 - c.x1), std::fabs(c.y2 - c.y1)};
    return grown(r, c.stroke.width);
  }
  std::optional<Rect> operator()(const cmd::Polyline& c) const {
    if (c.points.empty()) return std::nullopt;
    constexpr double inf = std::numeric_limits<double>::infinity();
    double x0 = inf, y0 = inf, x1 = -inf, y1 = -inf;
    for (const PixelPoint& p : c.points) {
      x0 = std::fmin(x0, p.x), y0 = std::fmin(y0, p.y);
      x1 = std::fmax(x1, p.x), y1 = std::fmax(y1, p.y);
    }
    return grown({x0, y0, x1 - x0, y1 - y0}, c.stroke.width);
  }
  std::optional<Rect> operator()(const cmd::FillCircle& c) const { return circle_box(c.cx, c.cy, c.radius, c.radius); }
  std::optional<Rect> operator()(const cmd::StrokeCircle& c) const { return circle_box(c.cx, c.cy, c.radius, c.radius); }
  std::optional<Rect> operator()(const cmd::FillEllipse& c) const { return circle_box(c.cx, c.cy, c.rx, c.ry); }
  std::optional<Rect> operator()(const cmd::StrokeEllipse& c) const { return circle_box(c.cx, c.cy, c.rx, c.ry); }
  std::optional<Rect> operator()(const cmd::StrokeArc& c) const { return circle_box(c.cx, c.cy, c.radius, c.radius); }
  // Text is not measured: every label counts as a fixed box around its anchor.
  std::optional<Rect> operator()(const cmd::Text& c) const { return Rect{c.x, c.y - 10, 100, 20}; }
};

}  // namespace

std::optional<Rect> command_bounds(const RenderCommand& command) { return std::visit(BoundsOf{}, command); }

}  // namespace qc::render
