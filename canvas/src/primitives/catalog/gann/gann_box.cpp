// Gann box geometry: frame, the inner grid alternating vertical and horizontal lines, then the diagonals.
#include "primitives/catalog/gann/gann_box.hpp"

#include "primitives/catalog/gann/corner_box.hpp"

namespace qc::primitives::catalog {

void GannBox::write_fields(JsonWriter& w) const {
  write_anchor_fields(w);
  json_entry(w, "show_grid", show_grid);
  json_entry(w, "divisions", divisions);
}

void GannBox::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const PixelBox box = corner_box(ctx, {bar1, price1}, {bar2, price2}).box;
  StrokeScope stroke(ctx, data_);
  stroke_frame(ctx, snap, box);
  if (show_grid && divisions >= 2) {
    const double n = divisions;
    const double top = snap(box.top);
    const double bottom = snap(box.bottom);
    const double left = snap(box.left);
    const double right = snap(box.right);
    for (unsigned i = 1; i < divisions; ++i) {
      const double x = snap(box.left + i * (box.right - box.left) / n);
      stroke_segment(ctx, x, top, x, bottom);
      const double y = snap(box.top + i * (box.bottom - box.top) / n);
      stroke_segment(ctx, left, y, right, y);
    }
  }
  stroke_diagonals(ctx, snap, box);
}

std::optional<TextAnchor> GannBox::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  return box_text_anchor(data_, corner_box(ctx, {bar1, price1}, {bar2, price2}).box);
}

std::unique_ptr<Primitive> create_gann_box(std::span<const Point> points, std::string_view color) {
  return GannBox::create(points, color);
}

}  // namespace qc::primitives::catalog
