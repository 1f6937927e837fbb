// Text set in the bundled font: white space collapsed, one glyph per character at unrounded advances, a
// box for a character the font lacks.
#include "raster/text_run.hpp"

#include <gtest/gtest.h>

namespace qc::raster {
namespace {

TEST(TextRun, CollapsesWhiteSpaceAndDecodesEntities) {
  const BundledFont* font = BundledFont::get(false);
  ASSERT_NE(font, nullptr);
  const struct {
    const char* raw;
    const char* text;
    std::size_t glyphs;
  } cases[] = {
      {"  A \n\t B  ", "A B", 3},
      {"&lt;1&gt; &amp;", "<1> &", 5},
      {"\n \t", "", 0},
      {"\xE2\x82\xAC x\xC3", "\xE2\x82\xAC x\xEF\xBF\xBD", 4},  // a broken sequence is U+FFFD
      // Characters cairo refuses (noncharacters, surrogates, past U+10FFFF) are U+FFFD, written or entities.
      {"a\xEF\xB7\x90" "b", "a\xEF\xBF\xBD" "b", 3},              // U+FDD0
      {"\xEF\xB7\xAF", "\xEF\xBF\xBD", 1},                      // U+FDEF
      {"\xEF\xBF\xBE\xEF\xBF\xBF", "\xEF\xBF\xBD\xEF\xBF\xBD", 2},  // U+FFFE, U+FFFF
      {"\xF0\x9F\xBF\xBE", "\xEF\xBF\xBD", 1},                 // U+1FFFE
      {"\xF4\x8F\xBF\xBF", "\xEF\xBF\xBD", 1},                 // U+10FFFF
      {"&#xFDD5;&#65535;&#x10FFFE;", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", 3},
      {"\xED\xA0\x80 &#x110000;", "\xEF\xBF\xBD \xEF\xBF\xBD", 3},   // a surrogate; past the last plane
      {"\xEF\xB7\x8F\xEF\xB7\xB0", "\xEF\xB7\x8F\xEF\xB7\xB0", 2},  // U+FDCF and U+FDF0 are characters
  };
  TextRun run;
  for (const auto& c : cases) {
    run.set(c.raw, *font, 10.0);
    EXPECT_EQ(run.text(), c.text) << c.raw;
    EXPECT_EQ(run.glyphs().size(), c.glyphs) << c.raw;
  }
  // The glyph drawn is the one of the character written out.
  TextRun replaced;
  replaced.set("\xEF\xBF\xBD", *font, 10.0);
  run.set("\xEF\xBF\xBF", *font, 10.0);
  ASSERT_EQ(run.glyphs().size(), 1u);
  EXPECT_EQ(run.glyphs()[0].index, replaced.glyphs()[0].index);
  EXPECT_EQ(run.width(), replaced.width());
}

TEST(TextRun, AdvancesAreTheFontsUnroundedOnes) {
  const BundledFont* regular = BundledFont::get(false);
  const BundledFont* bold = BundledFont::get(true);
  ASSERT_NE(regular, nullptr);
  ASSERT_NE(bold, nullptr);
  // DejaVu Sans: "H" advances 1540 of 2048 units, "i" 569; bold "H" 1714.
  TextRun run;
  run.set("Hi", *regular, 100.0);
  ASSERT_EQ(run.glyphs().size(), 2u);
  EXPECT_DOUBLE_EQ(run.glyphs()[1].x, 1540.0 / 2048 * 100);
  EXPECT_DOUBLE_EQ(run.width(), (1540.0 + 569.0) / 2048 * 100);
  run.set("H", *bold, 100.0);
  EXPECT_DOUBLE_EQ(run.width(), 1714.0 / 2048 * 100);
  EXPECT_DOUBLE_EQ(regular->ascent(), 1901.0 / 2048);
  EXPECT_DOUBLE_EQ(regular->descent(), 483.0 / 2048);

  EXPECT_NE(regular->glyph(U'H'), 0u);
  EXPECT_EQ(regular->glyph(U'\u4E2D'), 0u);  // no CJK: the .notdef box
  EXPECT_EQ(regular->glyph(U'\U0001F680'), 0u);  // nor most emoji
  run.set("\xE4\xB8\xAD", *regular, 10.0);
  ASSERT_EQ(run.glyphs().size(), 1u);
  EXPECT_EQ(run.glyphs()[0].index, 0u);
  EXPECT_GT(run.width(), 0.0);  // the box has its own advance
}

}  // namespace
}  // namespace qc::raster
