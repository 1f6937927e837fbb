// Price label geometry: the optional dashed lead-in, the box at the anchor and its black words.
#include "primitives/catalog/annotations/price_label.hpp"

#include <array>
#include <string_view>

#include "primitives/catalog/annotations/price_text.hpp"
#include "primitives/catalog/common/caption_numbers.hpp"
#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

// The content starts empty, so a new label shows its price at the text's font size.
void PriceLabel::place(std::span<const Point> points) {
  set_points(points);
  data_.text = PrimitiveText::make("");
}

void PriceLabel::write_fields(JsonWriter& w) const {
  json_entry(w, "bar", bar);
  json_entry(w, "price", price);
  json_entry(w, "custom_text", custom_text);
  json_entry(w, "show_line", show_line);
}

void PriceLabel::render(RenderContext& ctx, bool) const {
  static constexpr std::array<double, 2> kDash = {4.0, 4.0};
  const PixelSnap s{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);

  std::string price_text;
  append_caption_price(price_text, price);
  std::string_view label = price_text;
  if (data_.text && !data_.text->content.empty()) {
    label = data_.text->content;
  } else if (custom_text) {
    label = *custom_text;
  }
  const double fs = data_.text ? data_.text->font_size : 12.0;

  if (show_line) {
    ctx.set_stroke_color(data_.color.stroke);
    ctx.set_stroke_width(data_.width);
    ctx.set_line_dash(kDash);
    stroke_segment(ctx, s(0.0), s(y), s(x - 5), s(y));
    ctx.set_line_dash({});
  }
  ctx.set_fill_color(data_.color.stroke);
  const double tw = static_cast<double>(label.size()) * 0.65 * fs;
  const double h = 1.4 * fs;
  const double left = x - tw * 0.5;
  ctx.fill_rect(s(left), s(y - h * 0.5), tw, h);
  ctx.set_fill_color("#000000");
  ctx.set_font(sans_serif_font(fs));
  ctx.fill_text(label, left + 4, y + 0.3 * fs);
}

std::unique_ptr<Primitive> create_price_label(std::span<const Point> points, std::string_view color) {
  return PriceLabel::create(points, color);
}

}  // namespace qc::primitives::catalog
