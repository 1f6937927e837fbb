// Tine drawing shared by the pitchfork tools.
#include "primitives/catalog/pitchforks/tines.hpp"

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/level_lines.hpp"

namespace qc::primitives::catalog {

void draw_tines(RenderContext& ctx, const PrimitiveData& data, std::span<const FibLevelConfig> levels,
                const TineFrame& frame, bool extend, TineDashFallback fallback) {
  const PixelSnap snap{ctx.dpr()};
  const double reach = extension_reach(ctx);
  for (const FibLevelConfig& level : levels) {
    if (!level.visible) continue;
    ctx.set_stroke_color(level.color ? std::string_view(*level.color) : std::string_view(data.color.stroke));
    ctx.set_stroke_width(level.width.value_or(data.width));
    std::span<const double> dash = level_style_dash(level.style);
    if (dash.empty() && fallback == TineDashFallback::RecordStyle) dash = line_style_dash(data.style);
    ctx.set_line_dash(dash);

    const double r = level.level;
    const double sx = frame.handle_x + r * frame.unit_x;
    const double sy = frame.handle_y + r * frame.unit_y;
    const double ex = frame.median_x + r * frame.unit_x;
    const double ey = frame.median_y + r * frame.unit_y;
    ctx.begin_path();
    ctx.move_to(snap(sx), snap(sy));
    if (!extend) {
      ctx.line_to(snap(ex), snap(ey));
    } else {
      line_to_beyond(ctx, snap.dpr, sx, sy, ex, ey, reach);
    }
    ctx.stroke();
  }
  ctx.set_line_dash({});
}

}  // namespace qc::primitives::catalog
