// Setting a text run: UTF-8 in, glyphs, advances and clusters out.
#include "raster/text_run.hpp"

#include "raster/xml_reader.hpp"

namespace qc::raster {
namespace {

// One code point of UTF-8 at s[i], i moved past it; a broken sequence is U+FFFD and one byte.
char32_t next_code_point(std::string_view s, std::size_t& i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = b(i);
  std::size_t n = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (n == 0 || i + n > s.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t cp = n == 1 ? lead : lead & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    cp = cp << 6 | (b(i + k) & 0x3F);
  }
  i += n;
  return cp;
}

bool is_xml_space(char32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// cairo refuses a string holding a noncharacter, a surrogate or a code point past U+10FFFF, and once refused
// draws nothing more on that context: such a character is shown, and copied out of a PDF, as U+FFFD.
char32_t drawable(char32_t c) {
  const bool noncharacter = (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
  return noncharacter || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? 0xFFFD : c;
}

}  // namespace

void TextRun::set(std::string_view raw, const BundledFont& font, double size) {
  decoded_.clear();
  decode_text(raw, decoded_);
  text_.clear();
  glyphs_.clear();
  clusters_.clear();
  width_ = 0.0;
  const auto add = [&](char32_t c) {
    const std::size_t before = text_.size();
    append_utf8(text_, c);
    const std::uint32_t g = font.glyph(c);
    glyphs_.push_back({g, width_, 0.0});
    clusters_.push_back({static_cast<int>(text_.size() - before), 1});
    width_ += font.advance(g) * size;
  };
  bool space = false;
  for (std::size_t i = 0; i < decoded_.size();) {
    const char32_t c = next_code_point(decoded_, i);
    if (is_xml_space(c)) {
      space = !glyphs_.empty();
      continue;
    }
    if (space) add(' ');
    add(drawable(c));
    space = false;
  }
}

void TextRun::show(cairo_t* cr, double x, double y) {
  for (cairo_glyph_t& g : glyphs_) g.x += x, g.y = y;
  cairo_show_text_glyphs(cr, text_.data(), static_cast<int>(text_.size()), glyphs_.data(),
                         static_cast<int>(glyphs_.size()), clusters_.data(), static_cast<int>(clusters_.size()),
                         cairo_text_cluster_flags_t{});
}

}  // namespace qc::raster
