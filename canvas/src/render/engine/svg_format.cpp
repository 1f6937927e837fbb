// Colour and escape writers of the SVG output.
#include "render/engine/svg_format.hpp"

#include <array>
#include <cstring>

#include "util/numbers.hpp"

namespace qc::render {
namespace {

// Every text below is copied whole into room enough for it and the cursor advanced by its length, so that a
// colour is written without a branch or a division per channel.
struct AlphaText {
  char chars[24];
  std::size_t size;
};

// The 256 possible alpha texts with the closing parenthesis, formatted once: shortest text of a / 255.
const std::array<AlphaText, 256>& alpha_texts() {
  static const std::array<AlphaText, 256> table = [] {
    std::array<AlphaText, 256> t{};
    std::string s;
    for (std::size_t a = 0; a < t.size(); ++a) {
      s.clear();
      util::append_shortest(s, static_cast<double>(a) / 255.0);
      s += ')';
      std::memcpy(t[a].chars, s.data(), s.size());
      t[a].size = s.size();
    }
    return t;
  }();
  return table;
}

// "0," to "255,": a channel and the comma after it.
struct ChannelText {
  char chars[4];
  std::size_t size;
};

constexpr std::array<ChannelText, 256> kChannelTexts = [] {
  std::array<ChannelText, 256> t{};
  for (std::size_t v = 0; v < t.size(); ++v) {
    std::size_t n = 0;
    if (v >= 100) t[v].chars[n++] = static_cast<char>('0' + v / 100);
    if (v >= 10) t[v].chars[n++] = static_cast<char>('0' + v / 10 % 10);
    t[v].chars[n++] = static_cast<char>('0' + v % 10);
    t[v].chars[n++] = ',';
    t[v].size = n;
  }
  return t;
}();

char* put_channel(char* out, std::uint8_t v) {
  std::memcpy(out, kChannelTexts[v].chars, sizeof(ChannelText::chars));
  return out + kChannelTexts[v].size;
}

}  // namespace

// At most "rgba(" + 3 x 4 + 24 = 41 bytes are stored.
char* write_rgba(char* out, Color c) {
  std::memcpy(out, "rgba(", 5);
  out = put_channel(put_channel(put_channel(out + 5, c.r), c.g), c.b);
  const AlphaText& alpha = alpha_texts()[c.a];
  std::memcpy(out, alpha.chars, sizeof(alpha.chars));
  return out + alpha.size;
}

void append_css_color(std::string& out, Color c) {
  char buf[kMaxCssColorChars];
  out.append(buf, write_css_color(buf, c));
}

namespace {

// How many bytes from text[i] on are not XML characters, a document holding one not being well-formed: a C0
// control other than tab, line feed and carriage return (1), U+FFFE or U+FFFF (EF BF BE, EF BF BF: 3); 0
// for a byte that is kept.
std::size_t dropped_at(std::string_view text, std::size_t i) noexcept {
  const char ch = text[i];
  if (ch == '\xEF') {
    const bool end_of_plane =
        i + 2 < text.size() && text[i + 1] == '\xBF' && (text[i + 2] == '\xBE' || text[i + 2] == '\xBF');
    return end_of_plane ? 3 : 0;
  }
  return static_cast<unsigned char>(ch) < 0x20 && ch != '\t' && ch != '\n' && ch != '\r' ? 1 : 0;
}

}  // namespace

std::size_t drawn_text_bytes(std::string_view text) noexcept {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t dropped = dropped_at(text, i);
    kept += dropped == 0;
    i += dropped == 0 ? 1 : dropped;
  }
  return kept;
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
      default:
        if (const std::size_t dropped = dropped_at(text, i)) {
          i += dropped - 1;
        } else {
          *out++ = ch;
        }
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
