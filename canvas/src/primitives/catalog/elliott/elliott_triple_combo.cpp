// Elliott triple combination: the wave path and the labels of its first nine points.
#include "primitives/catalog/elliott/elliott_triple_combo.hpp"

namespace qc::primitives::catalog {

void ElliottTripleCombo::render(RenderContext& ctx, bool) const {
  if (anchors.empty()) return;
  const PixelSnap snap{ctx.dpr()};
  std::vector<PixelPoint> px(anchors.size());
  map_points(ctx, anchors, px);
  {
    StrokeScope stroke(ctx, data_);
    stroke_polyline(ctx, snap, px);
  }
  static constexpr std::string_view kLabels[] = {"W", "", "", "X", "Y", "", "X2", "Z", ""};
  if (show_labels) draw_wave_labels(ctx, data_, px, {kLabels, -5.0, false});
}

std::unique_ptr<Primitive> create_elliott_triple_combo(std::span<const Point> points, std::string_view color) {
  return ElliottTripleCombo::create(points, color);
}

}  // namespace qc::primitives::catalog
