// The user's price texts, through the fixed-point writer.
#include "coords/price_format.hpp"

#include "util/fixed.hpp"

namespace qc::coords {

std::optional<std::string> affix_fault(std::string_view affix) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < affix.size(); ++i) {
    const auto c = static_cast<unsigned char>(affix[i]);
    if ((c & 0xC0) != 0x80) ++chars;
    // C0 controls and DEL; C1 controls, U+0080 to U+009F, are 0xC2 followed by 0x80 to 0x9F.
    const bool c1 = c == 0xC2 && i + 1 < affix.size() && static_cast<unsigned char>(affix[i + 1]) <= 0x9F &&
                    static_cast<unsigned char>(affix[i + 1]) >= 0x80;
    if (c < 0x20 || c == 0x7F || c1) return "holds a control character";
  }
  if (chars > kMostAffixChars) {
    return std::to_string(chars) + " characters, more than " + std::to_string(kMostAffixChars);
  }
  return std::nullopt;
}

void append_price_as(std::string& out, double v, int own, const PriceFormat* format) {
  if (format == nullptr) return util::append_fixed_signed(out, v, own);
  append_affixed(out, format, [&](std::string& text) {
    util::append_fixed_signed(text, v, format->decimals_or(own), format->thousands);
  });
}

}  // namespace qc::coords
