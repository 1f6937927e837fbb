// Loading the bundled faces with FT_New_Memory_Face, and their character map and advances as tables: the
// tables are read without touching the FreeType face, which cairo uses (and locks) on its own.
#include "raster/bundled_font.hpp"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <algorithm>

#include "raster/font_data.hpp"

namespace qc::raster {
namespace {

FT_Library library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    return FT_Init_FreeType(&l) == 0 ? l : nullptr;
  }();
  return lib;
}

}  // namespace

const BundledFont* BundledFont::get(bool bold) {
  struct Faces {
    BundledFont font[2];
    bool loaded[2];
    Faces() : loaded{font[0].load(false), font[1].load(true)} {}
  };
  static const Faces faces;
  const int i = bold ? 1 : 0;
  return faces.loaded[i] ? &faces.font[i] : nullptr;
}

bool BundledFont::load(bool bold) {
  FT_Library lib = library();
  if (lib == nullptr) return false;
  const auto file = font_file(bold);
  FT_Face ft = nullptr;
  if (FT_New_Memory_Face(lib, file.data(), static_cast<FT_Long>(file.size()), 0, &ft) != 0) return false;
  const double em = ft->units_per_EM;
  ascent_ = ft->ascender / em;
  descent_ = -ft->descender / em;

  bmp_.assign(0x10000, 0);
  FT_UInt index = 0;
  for (FT_ULong c = FT_Get_First_Char(ft, &index); index != 0; c = FT_Get_Next_Char(ft, c, &index)) {
    if (c < 0x10000) {
      bmp_[c] = static_cast<std::uint16_t>(index);
    } else {
      astral_.emplace_back(static_cast<char32_t>(c), index);
    }
  }
  std::sort(astral_.begin(), astral_.end());

  advances_.resize(static_cast<std::size_t>(ft->num_glyphs));
  for (FT_UInt g = 0; g < advances_.size(); ++g) {
    FT_Fixed a = 0;
    advances_[g] = FT_Get_Advance(ft, g, FT_LOAD_NO_SCALE, &a) == 0 ? static_cast<double>(a) / em : 0.0;
  }

  // Outlines unhinted; the face lives as long as the process.
  face_ = cairo_ft_font_face_create_for_ft_face(ft, FT_LOAD_NO_HINTING);
  return cairo_font_face_status(face_) == CAIRO_STATUS_SUCCESS;
}

std::uint32_t BundledFont::glyph(char32_t c) const {
  if (c < 0x10000) return bmp_[c];
  const auto it = std::lower_bound(astral_.begin(), astral_.end(), std::pair<char32_t, std::uint32_t>(c, 0));
  return it != astral_.end() && it->first == c ? it->second : 0;
}

}  // namespace qc::raster
