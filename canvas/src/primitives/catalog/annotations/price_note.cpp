// Price note geometry: the dashed level line, then a box ending at the right edge with black words.
#include "primitives/catalog/annotations/price_note.hpp"

#include <array>
#include <string_view>

#include "primitives/catalog/annotations/price_text.hpp"
#include "primitives/catalog/common/caption_numbers.hpp"
#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

void PriceNote::place(std::span<const Point> points) {
  set_points(points);
  data_.text = PrimitiveText::make("Price Note");
}

void PriceNote::write_fields(JsonWriter& w) const {
  json_entry(w, "bar", bar);
  json_entry(w, "price", price);
  json_entry(w, "text", text);
  json_entry(w, "show_price", show_price);
}

void PriceNote::render(RenderContext& ctx, bool) const {
  static constexpr std::array<double, 2> kDash = {4.0, 4.0};
  const PixelSnap s{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  const double w = ctx.chart_width();
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(data_.width);
  ctx.set_line_dash(kDash);
  stroke_segment(ctx, s(x), s(y), s(w), s(y));
  ctx.set_line_dash({});

  // data.text wins even when empty; without it the own text, then the type's name.
  std::string_view words = data_.text ? std::string_view(data_.text->content)
                                      : (text.empty() ? std::string_view("Price Note") : std::string_view(text));
  const double fs = data_.text ? data_.text->font_size : 12.0;
  std::string label;
  if (show_price) {
    append_caption_price(label, price);
    label += " - ";
  }
  label += words;

  ctx.set_fill_color(data_.color.stroke);
  const double tw = static_cast<double>(label.size()) * fs * 0.6;
  const double left = w - tw;
  ctx.fill_rect(s(left - 8), s(y - 0.7 * fs), tw + 8, 1.4 * fs);
  ctx.set_fill_color("#000000");
  ctx.set_font(sans_serif_font(fs));
  ctx.fill_text(label, left - 4, y + 0.3 * fs);
}

std::unique_ptr<Primitive> create_price_note(std::span<const Point> points, std::string_view color) {
  return PriceNote::create(points, color);
}

}  // namespace qc::primitives::catalog
