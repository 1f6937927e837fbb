// The free-hand stroke of the brush and the highlighter.
#include "primitives/catalog/brushes/freehand.hpp"

#include <numbers>

#include "primitives/catalog/common/pixel_path.hpp"

namespace qc::primitives::catalog {

void draw_freehand(RenderContext& ctx, std::span<const Point> anchors, std::string_view color, double width) {
  if (anchors.empty()) return;
  ctx.set_stroke_color(color);
  ctx.set_stroke_width(width);
  ctx.set_line_cap("round");
  ctx.set_line_join("round");
  const auto pixels = to_pixels(ctx, anchors);
  ctx.begin_path();
  if (pixels.size() == 1) {
    // A dot in the context's current fill colour; the stroke tools set none of their own.
    ctx.arc(pixels[0].x, pixels[0].y, width * 0.5, 0.0, 2.0 * std::numbers::pi);
    ctx.fill();
    return;
  }
  append_smoothed(ctx, pixels);
  ctx.stroke();
}

}  // namespace qc::primitives::catalog
