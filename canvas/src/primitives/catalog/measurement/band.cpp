// Band colour, price-change captions and caption drawing of the measurement tools.
#include "primitives/catalog/measurement/band.hpp"

#include <cmath>

#include "primitives/catalog/common/caption_numbers.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "util/fixed.hpp"

namespace qc::primitives::catalog {
namespace {

// Dividing by |price1| keeps the sign of the move: from -10 to -5 is a rise of 50 %.
double percent_change(double price1, double price2) noexcept {
  return price1 == 0.0 ? 0.0 : (price2 - price1) / std::abs(price1) * 100.0;
}

}  // namespace

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

void append_percent_change(std::string& out, double price1, double price2) {
  util::append_fixed_signed(out, percent_change(price1, price2), 2);
  out += '%';
}

std::string price_change_caption(double price1, double price2, bool with_percent) {
  std::string out;
  util::append_fixed_signed(out, price2 - price1, change_decimals(price1, price2));
  if (with_percent) {
    out += " (";
    append_percent_change(out, price1, price2);
    out += ')';
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
  constexpr double kSize = 12.0;
  ctx.set_font("12px sans-serif");
  fill_text_backing(ctx, text, x, y, kSize);
  ctx.set_fill_color(data.color.stroke);
  ctx.fill_text(text, x, y);
}

}  // namespace qc::primitives::catalog
