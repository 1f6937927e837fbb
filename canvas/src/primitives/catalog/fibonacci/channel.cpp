// Fib channel geometry: the perpendicular offset from P1-P2 to P3 in chart units, scaled per ratio.
#include "primitives/catalog/fibonacci/channel.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/fibonacci/geometry.hpp"

namespace qc::primitives::catalog {

void FibChannel::write_fields(JsonWriter& w) const {
  write_anchor_fields(w);
  json_entry(w, "levels", levels);
  json_entry(w, "show_prices", show_prices);
  json_entry(w, "extend", extend);
}

void FibChannel::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  // Bars and prices are mixed unscaled: the offset is perpendicular in chart units, not in pixels.
  const double d_bar = bar2 - bar1;
  const double d_price = price2 - price1;
  const double q = d_bar * d_bar + d_price * d_price;
  Point offset{0.0, price3 - price1};
  if (q != 0.0) {
    const double t = ((bar3 - bar1) * d_bar + (price3 - price1) * d_price) / q;
    offset = {bar3 - (bar1 + t * d_bar), price3 - (price1 + t * d_price)};
  }
  const double reach = extension_reach(ctx);
  StrokeScope stroke(ctx, data_);
  for (double r : levels) {
    const fibonacci::PixelPoint a = fibonacci::to_pixel(ctx, bar1 + r * offset.bar, price1 + r * offset.price);
    const fibonacci::PixelPoint b = fibonacci::to_pixel(ctx, bar2 + r * offset.bar, price2 + r * offset.price);
    ctx.begin_path();
    if (!extend) {
      ctx.move_to(snap(a.x), snap(a.y));
      ctx.line_to(snap(b.x), snap(b.y));
    } else {
      const double dx = b.x - a.x;
      const double dy = b.y - a.y;
      const double len = std::sqrt(dx * dx + dy * dy);
      if (len > 0.0) {
        const double ex = dx / len * reach;
        const double ey = dy / len * reach;
        ctx.move_to(snap(a.x - ex), snap(a.y - ey));
        ctx.line_to(snap(b.x + ex), snap(b.y + ey));
      }
    }
    ctx.stroke();
  }
}

// Inside the box of the three anchors, or at their centroid.
std::optional<TextAnchor> FibChannel::text_anchor(const RenderContext& ctx) const {
  const PrimitiveText* text = label_text(data_);
  if (text == nullptr) return std::nullopt;
  const std::array corners{fibonacci::to_pixel(ctx, bar1, price1), fibonacci::to_pixel(ctx, bar2, price2),
                           fibonacci::to_pixel(ctx, bar3, price3)};
  const PixelBox box = fibonacci::pixel_box(corners);
  const double half_font = text->font_size * 0.5;
  const double x = pick(text->h_align, box.left + 10.0, (corners[0].x + corners[1].x + corners[2].x) / 3,
                        box.right - 10.0);
  const double y = pick(text->v_align, box.top + 10.0 + half_font, (corners[0].y + corners[1].y + corners[2].y) / 3,
                        box.bottom - 10.0 - half_font);
  return TextAnchor::make(data_.color.stroke, x, y);
}

std::unique_ptr<Primitive> create_fib_channel(std::span<const Point> points, std::string_view color) {
  return FibChannel::create(points, color);
}

}  // namespace qc::primitives::catalog
