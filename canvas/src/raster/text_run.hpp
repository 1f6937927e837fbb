// A line of text set in the bundled font: its glyphs, their advances and the clusters that tie each glyph
// to its character (so that a PDF's text can be copied back out).
#pragma once

#include <cairo.h>

#include <string>
#include <string_view>
#include <vector>

#include "raster/bundled_font.hpp"

namespace qc::raster {

class TextRun {
 public:
  // Sets the character data of a text element (entities still in it) at `size` pixels: white space as
  // CSS's "normal" has it (runs of spaces, tabs and line ends are one space, none at the ends), one glyph
  // per character by the font's character map, no kerning or shaping. The pen starts at (0, 0).
  void set(std::string_view raw, const BundledFont& font, double size);
  bool empty() const { return glyphs_.empty(); }
  // The sum of the advances.
  double width() const { return width_; }
  const std::string& text() const { return text_; }
  const std::vector<cairo_glyph_t>& glyphs() const { return glyphs_; }

  // Moves the run's origin to (x, y) and shows it with cairo's current font and source.
  void show(cairo_t* cr, double x, double y);

 private:
  std::string decoded_;
  std::string text_;  // the characters set, as UTF-8
  std::vector<cairo_glyph_t> glyphs_;
  std::vector<cairo_text_cluster_t> clusters_;
  double width_ = 0.0;
};

}  // namespace qc::raster
