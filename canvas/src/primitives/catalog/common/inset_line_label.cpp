// Label placement along a handle or origin line.
#include "primitives/catalog/common/inset_line_label.hpp"

#include <cmath>
#include <numbers>

#include "primitives/catalog/common/labels.hpp"

namespace qc::primitives::catalog {

std::optional<TextAnchor> inset_line_text_anchor(const PrimitiveData& data, double x0, double y0, double x1,
                                                 double y1) {
  const PrimitiveText* text = label_text(data);
  if (text == nullptr) return std::nullopt;
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double len = std::sqrt(dx * dx + dy * dy);
  if (len < 0.001) return TextAnchor::make(data.color.stroke, x0, y0);
  const double t = pick(text->h_align, 0.2, 0.5, 0.8);
  constexpr double kHalfPi = std::numbers::pi / 2;
  const double angle = std::atan2(dy, dx);
  double rotation = angle;
  if (angle > kHalfPi) rotation -= std::numbers::pi;
  if (angle < -kHalfPi) rotation += std::numbers::pi;
  // The normal turns with the fold, so that Start stays above the upright text.
  const double sign = std::abs(angle) <= kHalfPi ? 1.0 : -1.0;
  const double nx = -dy / len * sign;
  const double ny = dx / len * sign;
  const double off = align_offset(text->v_align, text->font_size * 0.5 + 5.0);
  return TextAnchor::with_rotation(data.color.stroke, x0 + t * dx + off * nx, y0 + t * dy + off * ny, rotation);
}

}  // namespace qc::primitives::catalog
