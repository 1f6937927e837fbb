// Note geometry: a 16 x 24 px page centred on the anchor with its top right corner folded.
#include "primitives/catalog/annotations/note.hpp"

#include "primitives/catalog/annotations/icon_paint.hpp"
#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

void Note::place(std::span<const Point> points) {
  set_points(points);
  data_.text = PrimitiveText::make("Note");
}

void Note::write_fields(JsonWriter& w) const {
  json_entry(w, "bar", bar);
  json_entry(w, "price", price);
  json_entry(w, "title", title);
  json_entry(w, "content", content);
  json_entry(w, "expanded", expanded);
}

void Note::render(RenderContext& ctx, bool) const {
  const PixelSnap s{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  paint_icon(ctx, data_);
  // The context empties the path when it fills, so the outline is traced again for the stroke.
  const auto page = [&] {
    ctx.begin_path();
    ctx.move_to(s(x - 8), s(y - 12));
    ctx.line_to(s(x + 6), s(y - 12));
    ctx.line_to(s(x + 8), s(y - 8));
    ctx.line_to(s(x + 8), s(y + 12));
    ctx.line_to(s(x - 8), s(y + 12));
    ctx.close_path();
  };
  page();
  ctx.fill();
  page();
  ctx.stroke();
  ctx.begin_path();
  ctx.move_to(s(x + 6), s(y - 12));
  ctx.line_to(s(x + 6), s(y - 8));
  ctx.line_to(s(x + 8), s(y - 8));
  ctx.stroke();
}

// A collapsed note keeps its words to itself; an expanded one shows them 20 px below the icon.
std::optional<TextAnchor> Note::text_anchor(const RenderContext& ctx) const {
  if (!data_.text || !expanded) return std::nullopt;
  const double x = ctx.bar_to_x(bar);
  return TextAnchor::make(data_.color.stroke, x, ctx.price_to_y(price) + 20.0);
}

std::unique_ptr<Primitive> create_note(std::span<const Point> points, std::string_view color) {
  return Note::create(points, color);
}

}  // namespace qc::primitives::catalog
