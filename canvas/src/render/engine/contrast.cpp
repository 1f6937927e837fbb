// WCAG 2 luminance and contrast, and the tags' text colour chosen from them.
#include "render/engine/contrast.hpp"

#include <algorithm>
#include <cmath>

namespace qc::render {
namespace {

constexpr double kMinTagContrast = 2.5;

// An sRGB channel (0..255) in linear light.
double linear(std::uint8_t channel) {
  const double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::uint8_t blend(unsigned top, unsigned bottom, unsigned alpha) {
  return static_cast<std::uint8_t>((top * alpha + bottom * (255u - alpha) + 127u) / 255u);
}

}  // namespace

Color composite_over(Color top, Color bottom) {
  const unsigned a = top.a;
  return {blend(top.r, bottom.r, a), blend(top.g, bottom.g, a), blend(top.b, bottom.b, a), 255};
}

double relative_luminance(Color c) { return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b); }

double contrast_ratio(Color a, Color b) {
  const double la = relative_luminance(a), lb = relative_luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color tag_text_color(Color fill, Color background) {
  // A see-through background itself lies over the page, taken as white.
  const Color seen = composite_over(fill, composite_over(background, kOpaqueWhite));
  return contrast_ratio(kTagTextLight, seen) < kMinTagContrast ? kTagTextDark : kTagTextLight;
}

}  // namespace qc::render
