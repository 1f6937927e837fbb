// Path geometry: snapped straight segments, or an unsnapped smoothed curve from three anchors on.
#include "primitives/catalog/shapes/path.hpp"

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/pixel_path.hpp"

namespace qc::primitives::catalog {

void Path::write_fields(JsonWriter& w) const {
  json_entry(w, "points_data", anchors);
  json_entry(w, "smooth", smooth);
  json_entry(w, "closed", closed);
}

void Path::render(RenderContext& ctx, bool) const {
  if (anchors.size() < 2) return;
  const double dpr = ctx.dpr();
  const auto pixels = to_pixels(ctx, anchors);
  StrokeScope stroke(ctx, data_);
  ctx.begin_path();
  if (smooth && pixels.size() >= 3) {
    append_smoothed(ctx, pixels);
  } else {
    append_polyline(ctx, snapped(pixels, dpr));
  }
  if (closed) ctx.close_path();
  ctx.stroke();
}

std::unique_ptr<Primitive> create_path(std::span<const Point> points, std::string_view color) {
  return Path::create(points, color);
}

}  // namespace qc::primitives::catalog
