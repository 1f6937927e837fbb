// The bundled font through FreeType: a cairo font face, the glyph of each character and its advance.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace qc::raster {

class BundledFont {
 public:
  // Regular or bold, loaded once per process and kept for it; null when FreeType cannot read the file.
  static const BundledFont* get(bool bold);

  cairo_font_face_t* face() const { return face_; }
  // The glyph of a character by the font's character map; 0 (.notdef, a box) for one it lacks.
  std::uint32_t glyph(char32_t c) const;
  // A glyph's advance, unhinted and unrounded, in ems.
  double advance(std::uint32_t glyph) const { return glyph < advances_.size() ? advances_[glyph] : 0.0; }
  // The font's ascent and descent (both positive), in ems.
  double ascent() const { return ascent_; }
  double descent() const { return descent_; }

 private:
  BundledFont() = default;
  bool load(bool bold);

  cairo_font_face_t* face_ = nullptr;
  std::vector<std::uint16_t> bmp_;                         // glyph by code point below U+10000
  std::vector<std::pair<char32_t, std::uint32_t>> astral_;  // the rest, sorted
  std::vector<double> advances_;
  double ascent_ = 0.0;
  double descent_ = 0.0;
};

}  // namespace qc::raster
