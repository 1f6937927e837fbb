// Bounds bookkeeping of a render batch.
#include "render/engine/batch.hpp"

#include <cmath>

namespace qc::render {

void RenderBatch::push(RenderCommand command) {
  if (const std::optional<Rect> r = command_bounds(command)) {
    min_x_ = std::fmin(min_x_, r->x);
    min_y_ = std::fmin(min_y_, r->y);
    max_x_ = std::fmax(max_x_, r->x + r->width);
    max_y_ = std::fmax(max_y_, r->y + r->height);
    has_bounds_ = true;
  }
  commands_.push_back(std::move(command));
}

}  // namespace qc::render
