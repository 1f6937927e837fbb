// Colour and escape writers of the SVG output.
#include "render/engine/svg_format.hpp"

#include <array>
#include <cstring>

#include "util/numbers.hpp"

namespace qc::render {
namespace {

struct AlphaText {
  char chars[24];
  std::size_t size;
};

// The 256 possible alpha texts, formatted once: shortest text of a / 255.
const std::array<AlphaText, 256>& alpha_texts() {
  static const std::array<AlphaText, 256> table = [] {
    std::array<AlphaText, 256> t{};
    std::string s;
    for (std::size_t a = 0; a < t.size(); ++a) {
      s.clear();
      util::append_shortest(s, static_cast<double>(a) / 255.0);
      std::memcpy(t[a].chars, s.data(), s.size());
      t[a].size = s.size();
    }
    return t;
  }();
  return table;
}

char* write_u8(char* out, std::uint8_t v) {
  if (v >= 100) *out++ = static_cast<char>('0' + v / 100);
  if (v >= 10) *out++ = static_cast<char>('0' + v / 10 % 10);
  *out++ = static_cast<char>('0' + v % 10);
  return out;
}

}  // namespace

char* write_rgba(char* out, Color c) {
  std::memcpy(out, "rgba(", 5);
  out += 5;
  out = write_u8(out, c.r);
  *out++ = ',';
  out = write_u8(out, c.g);
  *out++ = ',';
  out = write_u8(out, c.b);
  *out++ = ',';
  const AlphaText& alpha = alpha_texts()[c.a];
  std::memcpy(out, alpha.chars, alpha.size);
  out += alpha.size;
  *out++ = ')';
  return out;
}

void append_css_color(std::string& out, Color c) {
  char buf[kMaxCssColorChars];
  out.append(buf, write_css_color(buf, c));
}

char* write_escaped(char* out, std::string_view text) {
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char ch = text[i];
    switch (ch) {
      case '&': std::memcpy(out, "&amp;", 5), out += 5; break;
      case '<': std::memcpy(out, "&lt;", 4), out += 4; break;
      case '>': std::memcpy(out, "&gt;", 4), out += 4; break;
      case '"': std::memcpy(out, "&quot;", 6), out += 6; break;
      case '\t': case '\n': case '\r': *out++ = ch; break;
      case '\xEF':
        // U+FFFE and U+FFFF (EF BF BE, EF BF BF) are not XML characters either.
        if (i + 2 < n && text[i + 1] == '\xBF' && (text[i + 2] == '\xBE' || text[i + 2] == '\xBF')) {
          i += 2;
        } else {
          *out++ = ch;
        }
        break;
      default:
        // The other C0 controls are not XML characters: a document holding one is not well-formed.
        if (static_cast<unsigned char>(ch) >= 0x20) *out++ = ch;
    }
  }
  return out;
}

void append_escaped(std::string& out, std::string_view text) {
  const std::size_t old = out.size();
  out.resize(old + text.size() * kMaxEscapeGrowth);
  char* end = write_escaped(out.data() + old, text);
  out.resize(static_cast<std::size_t>(end - out.data()));
}

}  // namespace qc::render
