// A recorded sequence of drawing commands with the union of their bounds, replayed in recording order.
#pragma once

#include <cstddef>
#include <limits>
#include <type_traits>
#include <vector>

#include "render/engine/backend.hpp"
#include "render/engine/commands.hpp"

namespace qc::render {

class RenderBatch {
 public:
  RenderBatch() = default;

  void reserve(std::size_t n) { commands_.reserve(n); }

  // Appends the command; a command with bounds widens the batch's bounds (NaN edges are ignored).
  void push(RenderCommand command);

  const std::vector<RenderCommand>& commands() const { return commands_; }
  bool has_bounds() const { return has_bounds_; }
  double min_x() const { return min_x_; }
  double min_y() const { return min_y_; }
  double max_x() const { return max_x_; }
  double max_y() const { return max_y_; }

 private:
  static constexpr double kInf = std::numeric_limits<double>::infinity();

  std::vector<RenderCommand> commands_;
  double min_x_ = kInf, min_y_ = kInf, max_x_ = -kInf, max_y_ = -kInf;
  bool has_bounds_ = false;
};

// Calls the backend operation of each command in push order; ellipse and arc commands have none and are
// skipped.
template <RenderBackend B>
void replay(const RenderBatch& batch, B& backend) {
  for (const RenderCommand& command : batch.commands()) {
    std::visit(
        [&backend](const auto& c) {
          using C = std::decay_t<decltype(c)>;
          if constexpr (std::is_same_v<C, cmd::FillPath>) {
            backend.fill_path(c.path.commands, c.fill);
          } else if constexpr (std::is_same_v<C, cmd::StrokePath>) {
            backend.stroke_path(c.path.commands, c.stroke);
          } else if constexpr (std::is_same_v<C, cmd::FillRect>) {
            backend.fill_rect(c.rect, c.color);
          } else if constexpr (std::is_same_v<C, cmd::StrokeRect>) {
            backend.stroke_rect(c.rect, c.stroke);
          } else if constexpr (std::is_same_v<C, cmd::Line>) {
            backend.line(c.x1, c.y1, c.x2, c.y2, c.stroke);
          } else if constexpr (std::is_same_v<C, cmd::Polyline>) {
            backend.polyline(c.points, c.stroke);
          } else if constexpr (std::is_same_v<C, cmd::FillCircle>) {
            backend.fill_circle(c.cx, c.cy, c.radius, c.color);
          } else if constexpr (std::is_same_v<C, cmd::StrokeCircle>) {
            backend.stroke_circle(c.cx, c.cy, c.radius, c.stroke);
          } else if constexpr (std::is_same_v<C, cmd::Text>) {
            backend.text(c.text, c.style, c.x, c.y);
          }
        },
        command);
  }
}

}  // namespace qc::render
