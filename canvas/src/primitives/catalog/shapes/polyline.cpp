// Polyline geometry: an unsnapped fill of the closed outline, then the snapped outline.
#include "primitives/catalog/shapes/polyline.hpp"

#include "primitives/catalog/shapes/outline.hpp"

namespace qc::primitives::catalog {

void Polyline::write_fields(JsonWriter& w) const {
  json_entry(w, "points_data", anchors);
  json_entry(w, "closed", closed);
  json_entry(w, "fill", fill);
  json_entry(w, "fill_opacity", fill_opacity);
}

void Polyline::render(RenderContext& ctx, bool) const {
  if (anchors.size() < 2) return;
  const auto pixels = to_pixels(ctx, anchors);
  fill_and_outline(ctx, data_, pixels, {fill && closed && anchors.size() >= 3, fill_opacity}, closed);
}

std::unique_ptr<Primitive> create_polyline(std::span<const Point> points, std::string_view color) {
  return Polyline::create(points, color);
}

}  // namespace qc::primitives::catalog
