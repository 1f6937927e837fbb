// Channel band fill and label frame.
#include "primitives/catalog/channels/band.hpp"

#include <cmath>
#include <numbers>

#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

void fill_band(RenderContext& ctx, std::string_view stroke, double opacity, PixelPoint a, PixelPoint b,
               PixelPoint c, PixelPoint d) {
  ctx.set_fill_color(fill_color_with_opacity(stroke, opacity));
  ctx.begin_path();
  ctx.move_to(a.x, a.y);
  ctx.line_to(b.x, b.y);
  ctx.line_to(c.x, c.y);
  ctx.line_to(d.x, d.y);
  ctx.close_path();
  ctx.fill();
}

namespace detail {

ChannelLabelFrame channel_label_frame(const PrimitiveText& text, PixelPoint a, PixelPoint b) noexcept {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double len = std::sqrt(dx * dx + dy * dy);
  constexpr double kHalfPi = std::numbers::pi / 2;
  double angle = std::atan2(dy, dx);
  if (angle > kHalfPi) {
    angle -= std::numbers::pi;
  } else if (angle < -kHalfPi) {
    angle += std::numbers::pi;
  }
  double nx = 0.0;
  double ny = -1.0;
  if (len > 0.001) {
    nx = -dy / len;
    ny = dx / len;
  }
  return {pick(text.h_align, 0.0, 0.5, 1.0), dx, dy, nx, ny, align_offset(text.v_align, label_offset(text)), angle};
}

}  // namespace detail

}  // namespace qc::primitives::catalog
