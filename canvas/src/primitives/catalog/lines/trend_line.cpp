// Trend line geometry: the anchors' segment with the chosen ends extended in pixel space.
#include "primitives/catalog/lines/trend_line.hpp"

namespace qc::primitives::catalog {

void TrendLine::render(RenderContext& ctx, bool) const { stroke_extended(ctx, extend); }

std::unique_ptr<Primitive> create_trend_line(std::span<const Point> points, std::string_view color) {
  return TrendLine::create(points, color);
}

}  // namespace qc::primitives::catalog
