// CSS colour parsing and the SVG texts of the style enumerations.
#include "render/engine/types.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "util/parse_double.hpp"

namespace qc::render {
namespace {

// Byte length of the Unicode White_Space character that begins (or ends) s, 0 when there is none.
std::size_t leading_space(std::string_view s) {
  if (s.empty()) return 0;
  const auto b = static_cast<unsigned char>(s[0]);
  if ((b >= 0x09 && b <= 0x0D) || b == 0x20) return 1;
  auto at = [&](std::size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0; };
  if (b == 0xC2 && (at(1) == 0x85 || at(1) == 0xA0)) return 2;  // U+0085, U+00A0
  if (b == 0xE1 && at(1) == 0x9A && at(2) == 0x80) return 3;    // U+1680
  if (b == 0xE2 && at(1) == 0x80) {
    const auto c = at(2);
    if ((c >= 0x80 && c <= 0x8A) || c == 0xA8 || c == 0xA9 || c == 0xAF) return 3;  // U+2000..200A, 2028, 2029, 202F
  }
  if (b == 0xE2 && at(1) == 0x81 && at(2) == 0x9F) return 3;  // U+205F
  if (b == 0xE3 && at(1) == 0x80 && at(2) == 0x80) return 3;  // U+3000
  return 0;
}

std::size_t trailing_space(std::string_view s) {
  // A white-space character is at most three bytes long; try each length that ends on a lead byte.
  for (std::size_t n = 1; n <= 3 && n <= s.size(); ++n) {
    const auto lead = static_cast<unsigned char>(s[s.size() - n]);
    if ((lead & 0xC0) == 0x80) continue;  // continuation byte
    return leading_space(s.substr(s.size() - n)) == n ? n : 0;
  }
  return 0;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One hexadecimal group of one or two characters; a two-character group may be "+" and one digit.
std::optional<std::uint8_t> hex_group(std::string_view g) {
  if (g.size() == 2 && g[0] == '+') g.remove_prefix(1);
  int v = 0;
  for (char c : g) {
    const int d = hex_digit(c);
    if (d < 0) return std::nullopt;
    v = v * 16 + d;
  }
  return static_cast<std::uint8_t>(v);
}

std::optional<Color> parse_hex(std::string_view hex) {
  std::array<std::uint8_t, 4> ch{0, 0, 0, 255};
  if (hex.size() == 3) {
    for (std::size_t i = 0; i < 3; ++i) {
      auto d = hex_group(hex.substr(i, 1));
      if (!d) return std::nullopt;
      ch[i] = static_cast<std::uint8_t>(*d * 17);
    }
  } else if (hex.size() == 6 || hex.size() == 8) {
    for (std::size_t i = 0; i < hex.size() / 2; ++i) {
      auto v = hex_group(hex.substr(2 * i, 2));
      if (!v) return std::nullopt;
      ch[i] = *v;
    }
  } else {
    return std::nullopt;
  }
  return Color{ch[0], ch[1], ch[2], ch[3]};
}

// A decimal channel 0..255: optional "+", then digits only.
std::optional<std::uint8_t> channel(std::string_view s) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  unsigned v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<unsigned>(c - '0');
    if (v > 255) return std::nullopt;
  }
  return static_cast<std::uint8_t>(v);
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A decimal number: [sign] digits [. digits] [e [sign] digits], with at least one mantissa digit. No word
// names a non-finite value ("nan", "inf"): an alpha of NaN would otherwise pass every range check. Values
// beyond the double range become infinity or zero, which the alpha's clamp turns into 1 or 0.
std::optional<double> decimal_float(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  const double sign = negative ? -1.0 : 1.0;

  // Validate the syntax and find the decimal exponent of the leading non-zero digit.
  std::size_t i = 0;
  long long lead = std::numeric_limits<long long>::min();  // no non-zero digit yet
  long long position = -1;  // decimal exponent of the next integer digit, fixed once the point is met
  std::size_t int_digits = 0;
  while (i < s.size() && is_digit(s[i])) ++i, ++int_digits;
  for (std::size_t j = 0; j < int_digits; ++j) {
    if (s[j] != '0' && lead == std::numeric_limits<long long>::min()) {
      lead = static_cast<long long>(int_digits - j - 1);
    }
  }
  std::size_t frac_digits = 0;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && is_digit(s[i])) {
      if (s[i] != '0' && lead == std::numeric_limits<long long>::min()) lead = position;
      ++i, ++frac_digits, --position;
    }
  }
  if (int_digits + frac_digits == 0) return std::nullopt;
  long long exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool exp_negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) exp_negative = s[i++] == '-';
    if (i == s.size() || !is_digit(s[i])) return std::nullopt;
    for (; i < s.size() && is_digit(s[i]); ++i) {
      if (exponent < 1'000'000) exponent = exponent * 10 + (s[i] - '0');
    }
    if (exp_negative) exponent = -exponent;
  }
  if (i != s.size()) return std::nullopt;

  double v = 0.0;
  const auto res = util::parse_double(s.data(), s.data() + s.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    const bool huge = lead != std::numeric_limits<long long>::min() && lead + exponent >= 0;
    v = huge ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (res.ec != std::errc() || res.ptr != s.data() + s.size()) {
    return std::nullopt;
  }
  return sign * v;
}

// Splits inner at every comma (empty pieces count) into exactly n trimmed pieces.
template <std::size_t N>
std::optional<std::array<std::string_view, N>> split_pieces(std::string_view inner) {
  std::array<std::string_view, N> pieces;
  std::size_t count = 0;
  while (true) {
    const std::size_t comma = inner.find(',');
    if (count == N) return std::nullopt;
    pieces[count++] = trim_white_space(inner.substr(0, comma));
    if (comma == std::string_view::npos) break;
    inner.remove_prefix(comma + 1);
  }
  if (count != N) return std::nullopt;
  return pieces;
}

bool strip_call(std::string_view& s, std::string_view name) {
  if (!s.starts_with(name) || !s.ends_with(')') || s.size() < name.size() + 1) return false;
  s = s.substr(name.size(), s.size() - name.size() - 1);
  return true;
}

}  // namespace

std::string_view trim_white_space(std::string_view s) {
  while (std::size_t n = leading_space(s)) s.remove_prefix(n);
  while (std::size_t n = trailing_space(s)) s.remove_suffix(n);
  return s;
}

std::optional<Color> Color::from_css(std::string_view text) {
  std::string_view s = trim_white_space(text);
  if (s.empty()) return std::nullopt;
  if (s[0] == '#') {
    while (!s.empty() && s[0] == '#') s.remove_prefix(1);
    return parse_hex(s);
  }
  if (strip_call(s, "rgba(")) {
    const auto p = split_pieces<4>(s);
    if (!p) return std::nullopt;
    const auto r = channel((*p)[0]), g = channel((*p)[1]), b = channel((*p)[2]);
    const auto alpha = decimal_float((*p)[3]);
    if (!r || !g || !b || !alpha) return std::nullopt;
    const double scaled = *alpha * 255.0;
    const std::uint8_t a = !(scaled > 0.0) ? 0 : scaled >= 255.0 ? 255 : static_cast<std::uint8_t>(scaled);
    return Color{*r, *g, *b, a};
  }
  if (strip_call(s, "rgb(")) {
    const auto p = split_pieces<3>(s);
    if (!p) return std::nullopt;
    const auto r = channel((*p)[0]), g = channel((*p)[1]), b = channel((*p)[2]);
    if (!r || !g || !b) return std::nullopt;
    return Color{*r, *g, *b, 255};
  }
  return std::nullopt;
}

std::string_view svg_text(TextAlign align) {
  static constexpr std::string_view kTexts[] = {"start", "middle", "end"};
  return kTexts[static_cast<std::size_t>(align)];
}

std::string_view svg_text(TextBaseline baseline) {
  static constexpr std::string_view kTexts[] = {"hanging", "central", "text-after-edge", "alphabetic"};
  return kTexts[static_cast<std::size_t>(baseline)];
}

std::string_view svg_attr(FontWeight weight) {
  static constexpr std::string_view kTexts[] = {"", R"( font-weight="bold")", R"( font-weight="lighter")"};
  return kTexts[static_cast<std::size_t>(weight)];
}

std::string_view svg_attr(LineCap cap) {
  static constexpr std::string_view kTexts[] = {"", R"( stroke-linecap="round")", R"( stroke-linecap="square")"};
  return kTexts[static_cast<std::size_t>(cap)];
}

std::string_view svg_attr(LineJoin join) {
  static constexpr std::string_view kTexts[] = {"", R"( stroke-linejoin="round")", R"( stroke-linejoin="bevel")"};
  return kTexts[static_cast<std::size_t>(join)];
}

}  // namespace qc::render
