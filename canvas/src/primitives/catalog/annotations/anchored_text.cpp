// Anchored text: factory, JSON keys and the label with its background at the anchor.
#include "primitives/catalog/annotations/anchored_text.hpp"

#include "primitives/core/render.hpp"

namespace qc::primitives::catalog {

void AnchoredText::place(std::span<const Point> points) {
  set_points(points);
  data_.text = PrimitiveText::make("Anchored Text");
}

void AnchoredText::write_fields(JsonWriter& w) const {
  json_entry(w, "bar", bar);
  json_entry(w, "price", price);
  json_entry(w, "text", text);
  json_entry(w, "font_size", font_size);
  json_entry(w, "background", background);
}

// The background is the stroke at a quarter alpha ("40" appended), with a 4 px margin around the words.
std::optional<TextAnchor> AnchoredText::text_anchor(const RenderContext& ctx) const {
  if (!data_.text) return std::nullopt;
  const double x = ctx.bar_to_x(bar);
  TextAnchor anchor = TextAnchor::make(data_.color.stroke, x, ctx.price_to_y(price));
  if (background) {
    anchor.background = data_.color.stroke + "40";
    anchor.margin = 4.0;
  }
  return anchor;
}

std::unique_ptr<Primitive> create_anchored_text(std::span<const Point> points, std::string_view color) {
  return AnchoredText::create(points, color);
}

}  // namespace qc::primitives::catalog
