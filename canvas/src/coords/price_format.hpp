// Prices written as the user asks for a pane: the decimals, a prefix and a suffix, and "," between thousands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qc::coords {

inline constexpr std::uint32_t kMostPriceDecimals = 10;
// A prefix's or suffix's most characters (code points).
inline constexpr std::size_t kMostAffixChars = 8;

struct PriceFormat {
  std::optional<std::uint32_t> decimals;  // 0 to kMostPriceDecimals; none: the scale's own rule
  std::string prefix, suffix;
  bool thousands = false;

  int decimals_or(int own) const { return decimals ? static_cast<int>(*decimals) : own; }
  // The format of a scale whose numbers are not prices (per cent changes, index points): no prefix or suffix.
  PriceFormat numbers_only() const { return {decimals, {}, {}, thousands}; }

  friend bool operator==(const PriceFormat&, const PriceFormat&) = default;
};

// What is wrong with a prefix or suffix (more than kMostAffixChars characters, a control character), or none.
std::optional<std::string> affix_fault(std::string_view affix);

// v as `format` writes it (the plain price with `own` decimals when `format` is null): its decimals or `own`,
// "," between thousands when asked, between its prefix and suffix. A value that rounds to zero reads no sign.
void append_price_as(std::string& out, double v, int own, const PriceFormat* format);
// A text another writer made ("152.07B") between the format's prefix and suffix.
template <class Write>
void append_affixed(std::string& out, const PriceFormat* format, Write&& write) {
  if (format != nullptr) out += format->prefix;
  write(out);
  if (format != nullptr) out += format->suffix;
}

}  // namespace qc::coords
