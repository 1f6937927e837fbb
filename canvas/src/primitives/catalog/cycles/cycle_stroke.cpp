// The cycle tools' dash table and stroke set-up.
#include "primitives/catalog/cycles/cycle_stroke.hpp"

namespace qc::primitives::catalog {

std::span<const double> cycle_dash(LineStyle style) noexcept {
  static constexpr double kDotted[] = {2.0, 3.0};
  static constexpr double kDashed[] = {5.0, 5.0};
  switch (style) {
    case LineStyle::Dotted: return kDotted;
    case LineStyle::Dashed: return kDashed;
    default: return line_style_dash(style);
  }
}

void set_cycle_stroke(RenderContext& ctx, const PrimitiveData& data) {
  ctx.set_stroke_color(data.color.stroke);
  ctx.set_stroke_width(data.width);
  ctx.set_line_dash(cycle_dash(data.style));
}

}  // namespace qc::primitives::catalog
