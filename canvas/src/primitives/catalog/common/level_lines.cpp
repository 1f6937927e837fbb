// Level strokes and long rays for the level-based tools.
#include "primitives/catalog/common/level_lines.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

void set_level_stroke(RenderContext& ctx, const FibLevelConfig& level, const PrimitiveData& data,
                      std::span<const double> plain_dash) {
  ctx.set_stroke_color(level.color ? std::string_view(*level.color) : std::string_view(data.color.stroke));
  ctx.set_stroke_width(level.width.value_or(data.width));
  const std::span<const double> dash = level_style_dash(level.style);
  ctx.set_line_dash(dash.empty() ? plain_dash : dash);
}

void line_to_beyond(RenderContext& ctx, double dpr, double sx, double sy, double tx, double ty, double length) {
  const double dx = tx - sx;
  const double dy = ty - sy;
  // hypot: far-apart anchors keep their direction instead of squaring to infinity.
  const double len = std::hypot(dx, dy);
  if (!(len > 0.0)) return;
  ctx.line_to(snap_to_pixel(sx + dx / len * length, dpr), snap_to_pixel(sy + dy / len * length, dpr));
}

}  // namespace qc::primitives::catalog
