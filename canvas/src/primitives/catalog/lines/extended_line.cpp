// Extended line geometry: both ends of the anchors' segment carried to the chart edges.
#include "primitives/catalog/lines/extended_line.hpp"

namespace qc::primitives::catalog {

void ExtendedLine::render(RenderContext& ctx, bool) const { stroke_extended(ctx, ExtendMode::Both); }

std::unique_ptr<Primitive> create_extended_line(std::span<const Point> points, std::string_view color) {
  return ExtendedLine::create(points, color);
}

}  // namespace qc::primitives::catalog
