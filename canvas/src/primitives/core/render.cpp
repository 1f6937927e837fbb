// Operations RenderContext provides in terms of its other operations.
#include "primitives/core/render.hpp"

#include <cmath>

#include "util/safe_math.hpp"

namespace qc::primitives {

void RenderContext::fill_text_rotated(std::string_view text, double x, double y, double angle) {
  // A NaN or negligible angle draws the text upright where it was asked for.
  if (!(std::abs(angle) >= 0.001)) {
    fill_text(text, x, y);
    return;
  }
  save();
  translate(x, y);
  rotate(angle);
  fill_text(text, 0.0, 0.0);
  restore();
}

void RenderContext::fill_text_central(std::string_view text, double x, double middle_y, double font_size) {
  fill_text(text, x, middle_y + 0.3 * font_size);
}

std::uint32_t RenderContext::width() const { return util::saturating_cast<std::uint32_t>(chart_width()); }

std::uint32_t RenderContext::height() const { return util::saturating_cast<std::uint32_t>(chart_height()); }

bool RenderContext::draw_image(std::string_view, double, double, double, double) { return false; }

}  // namespace qc::primitives
