// Gann square geometry: outline, inner boxes from the smallest out, cardinal cross, diagonals.
#include "primitives/catalog/gann/gann_square.hpp"

#include "primitives/catalog/gann/corner_box.hpp"

namespace qc::primitives::catalog {

void GannSquare::write_fields(JsonWriter& w) const {
  write_anchor_fields(w);
  json_entry(w, "show_cardinal", show_cardinal);
  json_entry(w, "show_ordinal", show_ordinal);
  json_entry(w, "levels", levels);
}

void GannSquare::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const CornerBox corners = corner_box(ctx, {bar1, price1}, {bar2, price2});
  const PixelBox& box = corners.box;
  const double w = box.right - box.left;
  const double h = box.bottom - box.top;
  const double cx = (corners.x1 + corners.x2) * 0.5;
  const double cy = (corners.y1 + corners.y2) * 0.5;
  StrokeScope stroke(ctx, data_);
  stroke_frame(ctx, snap, box);
  for (unsigned i = 1; i < levels; ++i) {
    const double f = static_cast<double>(i) / levels;
    const double dx = w * 0.5 * f;
    const double dy = h * 0.5 * f;
    ctx.begin_path();
    ctx.rect(snap(cx - dx), snap(cy - dy), 2.0 * dx, 2.0 * dy);
    ctx.stroke();
  }
  if (show_cardinal) {
    stroke_segment(ctx, snap(box.left), snap(cy), snap(box.right), snap(cy));
    stroke_segment(ctx, snap(cx), snap(box.top), snap(cx), snap(box.bottom));
  }
  if (show_ordinal) stroke_diagonals(ctx, snap, box);
}

std::optional<TextAnchor> GannSquare::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  return box_text_anchor(data_, corner_box(ctx, {bar1, price1}, {bar2, price2}).box);
}

std::unique_ptr<Primitive> create_gann_square(std::span<const Point> points, std::string_view color) {
  return GannSquare::create(points, color);
}

}  // namespace qc::primitives::catalog
