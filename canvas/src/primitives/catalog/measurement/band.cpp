// Band colour, price-change captions and caption drawing of the measurement tools.
#include "primitives/catalog/measurement/band.hpp"

#include <cmath>

#include "primitives/catalog/common/caption_numbers.hpp"
#include "util/fixed.hpp"

namespace qc::primitives::catalog {

std::string band_color(std::string_view stroke) {
  std::string out;
  out.reserve(9);
  if (stroke.size() == 9 && stroke[0] == '#') {
    out.append(stroke.substr(0, 7));
  } else if (stroke.size() == 4 && stroke[0] == '#') {
    out += '#';
    for (char c : stroke.substr(1)) out.append(2, c);
  } else {
    out.append(stroke);
  }
  out += "40";
  return out;
}

double percent_change(double price1, double price2) noexcept {
  return price1 == 0.0 ? 0.0 : std::abs((price2 - price1) / price1) * 100.0;
}

std::string price_change_caption(double price1, double price2, bool with_percent) {
  std::string out;
  util::append_fixed(out, std::abs(price2 - price1), change_decimals(price1, price2));
  if (with_percent) {
    out += " (";
    util::append_fixed2(out, percent_change(price1, price2));
    out += "%)";
  }
  return out;
}

std::string bar_count_caption(double bar1, double bar2, bool with_unit) {
  std::string out;
  util::append_fixed0(out, std::abs(bar2 - bar1));
  if (with_unit) out += " bars";
  return out;
}

void set_solid_stroke(RenderContext& ctx, const PrimitiveData& data) {
  ctx.set_stroke_color(data.color.stroke);
  ctx.set_line_style(LineStyle::Solid);
  ctx.set_stroke_width(data.width);
}

void draw_caption(RenderContext& ctx, const PrimitiveData& data, std::string_view text, double x, double y) {
  ctx.set_fill_color(data.color.stroke);
  ctx.set_font("12px sans-serif");
  ctx.fill_text(text, x, y);
}

}  // namespace qc::primitives::catalog
