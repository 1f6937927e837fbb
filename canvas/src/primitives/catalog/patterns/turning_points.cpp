// Turning-point pattern drawing and label placement.
#include "primitives/catalog/patterns/turning_points.hpp"

#include <cassert>

#include "primitives/catalog/common/labels.hpp"

namespace qc::primitives::catalog {

void draw_turning_points(RenderContext& ctx, const PrimitiveData& data, std::span<const PixelPoint> px,
                         const PatternLook& look, bool show_labels) {
  assert(px.size() == look.labels.size());
  const PixelSnap snap{ctx.dpr()};
  {
    StrokeScope stroke(ctx, data);
    stroke_polyline(ctx, snap, px);
    static constexpr double kGuideDash[] = {4.0, 4.0};
    ctx.set_line_dash(kGuideDash);
    for (const auto& [a, b] : look.guides) {
      assert(a < px.size() && b < px.size());
      stroke_polyline(ctx, snap, std::array{px[a], px[b]});
    }
  }
  if (!show_labels) return;
  ctx.set_fill_color(data.color.stroke);
  ctx.set_font(look.font);
  for (std::size_t i = 0; i < px.size(); ++i) {
    const double dy = i % 2 == 0 ? look.label_dy_even : look.label_dy_odd;
    ctx.fill_text(look.labels[i], px[i].x + look.label_dx, px[i].y + dy);
  }
}

std::optional<TextAnchor> pattern_text_anchor(const PrimitiveData& data, const RenderContext& ctx,
                                              std::span<const Point> anchors) {
  if (label_text(data) == nullptr || anchors.empty()) return std::nullopt;
  return box_text_anchor(data, chart_box(ctx, anchors));
}

}  // namespace qc::primitives::catalog
