// Elliott triangle: the wave line, the trendlines through points 0-2-4 and 1-3-5, and the labels.
#include "primitives/catalog/elliott/elliott_triangle.hpp"

namespace qc::primitives::catalog {

void ElliottTriangle::render(RenderContext& ctx, bool) const {
  static constexpr std::string_view kLabels[] = {"Start", "A", "B", "C", "D", "E"};
  draw(ctx, kLabels, [this](RenderContext& c, PixelSnap snap, std::span<const PixelPoint> px) {
    if (!show_trendlines) return;
    static constexpr double kTrendDash[] = {4.0, 4.0};
    c.set_line_dash(kTrendDash);
    c.set_stroke_width(data_.width * 0.7);
    stroke_polyline(c, snap, std::array{px[0], px[2], px[4]});
    stroke_polyline(c, snap, std::array{px[1], px[3], px[5]});
  });
}

std::unique_ptr<Primitive> create_elliott_triangle(std::span<const Point> points, std::string_view color) {
  return ElliottTriangle::create(points, color);
}

}  // namespace qc::primitives::catalog
