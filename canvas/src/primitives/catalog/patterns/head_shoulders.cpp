// Head and shoulders geometry: the pattern line, the extended neckline and the LS, H, RS labels.
#include "primitives/catalog/patterns/head_shoulders.hpp"

namespace qc::primitives::catalog {

void HeadShoulders::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const auto px = map_points(ctx, anchors);
  {
    StrokeScope stroke(ctx, data_);
    stroke_polyline(ctx, snap, px);
    if (show_neckline) {
      static constexpr double kNecklineDash[] = {6.0, 3.0};
      ctx.set_line_dash(kNecklineDash);
      const PixelPoint left = px[2];
      const PixelPoint right = px[4];
      // Half the trough-to-trough distance beyond the right trough.
      const PixelPoint beyond{right.x + 0.5 * (right.x - left.x), right.y + 0.5 * (right.y - left.y)};
      stroke_polyline(ctx, snap, std::array{left, right, beyond});
    }
  }
  ctx.set_fill_color(data_.color.stroke);
  ctx.set_font("bold 11px sans-serif");
  ctx.fill_text("LS", px[1].x - 8.0, px[1].y + 12.0);
  ctx.fill_text("H", px[3].x - 8.0, px[3].y - 15.0);
  ctx.fill_text("RS", px[5].x - 8.0, px[5].y + 12.0);
}

std::unique_ptr<Primitive> create_head_shoulders(std::span<const Point> points, std::string_view color) {
  return HeadShoulders::create(points, color);
}

}  // namespace qc::primitives::catalog
