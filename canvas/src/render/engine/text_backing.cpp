// Text backings placed from the estimated text width and the text's alignment.
#include "render/engine/text_backing.hpp"

namespace qc::render {

Rect text_backing(std::size_t bytes, const TextStyle& style, double x, double y) {
  constexpr double kPad = 2.0;
  const double size = style.font_size, width = estimated_text_width(bytes, size);
  double left = x;
  if (style.align == TextAlign::Middle) left -= width / 2;
  if (style.align == TextAlign::End) left -= width;
  return {left - kPad, y - size / 2 - kPad, width + 2 * kPad, size + 2 * kPad};
}

}  // namespace qc::render
