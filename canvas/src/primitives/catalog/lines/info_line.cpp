// Info line geometry: the snapped segment, then a dark caption box centred on its unsnapped midpoint.
#include "primitives/catalog/lines/info_line.hpp"

#include <cmath>
#include <cstdint>

#include "primitives/catalog/common/caption_numbers.hpp"
#include "util/fixed.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {
namespace {

// A signed change: "+" before zero and gains, the number's own minus before losses. Adding 0.0 turns a
// negative zero (an unchanged negative price gives 0 / -p) into "+0.00", not "+-0.00".
void append_signed(std::string& out, double v, int decimals) {
  v += 0.0;
  if (v >= 0) out += '+';
  util::append_fixed(out, v, decimals);
}

}  // namespace

std::string InfoLine::caption() const {
  std::string out;
  const auto separate = [&out] {
    if (!out.empty()) out += ' ';
  };
  const double diff = price2 - price1;
  if (show_price_diff) append_signed(out, diff, change_decimals(price1, price2));
  if (show_percent) {
    separate();
    out += '(';
    append_signed(out, std::abs(price1) < 1e-10 ? 0.0 : diff / price1 * 100.0, 2);
    out += "%)";
  }
  if (show_bars) {
    separate();
    out += std::to_string(util::saturating_cast<std::int64_t>(std::round(bar2 - bar1)));
    out += " bars";
  }
  return out;
}

void InfoLine::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const PixelSegment s = to_pixels(ctx);
  {
    StrokeScope stroke(ctx, data_);
    stroke_segment(ctx, snap(s.x1), snap(s.y1), snap(s.x2), snap(s.y2));
  }
  const std::string text = caption();
  if (text.empty()) return;
  ctx.set_font("12px sans-serif");
  const double w = ctx.measure_text(text);
  const double mx = (s.x1 + s.x2) * 0.5;
  const double my = (s.y1 + s.y2) * 0.5;
  ctx.set_fill_color("rgba(30, 30, 30, 0.85)");
  ctx.fill_rect(mx - (w + 12.0) * 0.5, my - 10.0, w + 12.0, 20.0);
  ctx.set_fill_color(data_.color.stroke);
  ctx.set_text_align(1);
  ctx.set_text_baseline(1);
  ctx.fill_text(text, mx, my);
}

std::unique_ptr<Primitive> create_info_line(std::span<const Point> points, std::string_view color) {
  return InfoLine::create(points, color);
}

}  // namespace qc::primitives::catalog
