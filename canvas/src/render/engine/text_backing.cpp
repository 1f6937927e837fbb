// Text backings placed from the text's width and its alignment.
#include "render/engine/text_backing.hpp"

namespace qc::render {

Rect text_backing(double width, double font_size, TextAlign align, double x, double y) {
  constexpr double kPad = 2.0;
  double left = x;
  if (align == TextAlign::Middle) left -= width / 2;
  if (align == TextAlign::End) left -= width;
  return {left - kPad, y - font_size / 2 - kPad, width + 2 * kPad, font_size + 2 * kPad};
}

Rect text_backing(std::string_view text, const TextStyle& style, double x, double y) {
  return text_backing(estimated_text_width(text, style.font_size), style.font_size, style.align, x, y);
}

}  // namespace qc::render
