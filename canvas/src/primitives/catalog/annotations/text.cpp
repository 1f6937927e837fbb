// Text: factory, JSON keys and the label at the anchor itself.
#include "primitives/catalog/annotations/text.hpp"

#include "primitives/core/render.hpp"

namespace qc::primitives::catalog {

void Text::place(std::span<const Point> points) {
  set_points(points);
  data_.text = PrimitiveText::make("Text");
}

void Text::write_fields(JsonWriter& w) const {
  json_entry(w, "bar", bar);
  json_entry(w, "price", price);
  json_entry(w, "text", text);
  json_entry(w, "font_size", font_size);
  json_entry(w, "bold", bold);
  json_entry(w, "italic", italic);
}

// An empty content still places a label: the host decides what an empty text shows.
std::optional<TextAnchor> Text::text_anchor(const RenderContext& ctx) const {
  if (!data_.text) return std::nullopt;
  const double x = ctx.bar_to_x(bar);
  return TextAnchor::make(data_.color.stroke, x, ctx.price_to_y(price));
}

std::unique_ptr<Primitive> create_text(std::span<const Point> points, std::string_view color) {
  return Text::create(points, color);
}

}  // namespace qc::primitives::catalog
