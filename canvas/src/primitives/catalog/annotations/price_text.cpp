// The font text of the price labels' words.
#include "primitives/catalog/annotations/price_text.hpp"

#include <charconv>
#include <cstdint>

#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

std::string sans_serif_font(double font_size) {
  char digits[16];
  const auto px = util::saturating_cast<std::int32_t>(font_size);
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, px);
  std::string font(digits, end);
  font += "px sans-serif";
  return font;
}

}  // namespace qc::primitives::catalog
