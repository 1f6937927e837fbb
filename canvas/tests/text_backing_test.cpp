// Text backings: the estimated width of what is drawn padded by 2 px, one font size plus 2 px above and below,
// placed by the text's alignment.
#include "render/engine/text_backing.hpp"

#include <gtest/gtest.h>

#include <string>

namespace qc::render {
namespace {

TEST(TextBacking, PaddedAroundTheTextAsAligned) {
  struct Case {
    TextAlign align;
    std::string text;
    double font_size;
    Rect want;
  };
  // At (100, 50): 10 bytes of size 10 are 60 px wide; the backing is 64 x 14 about y = 50.
  const Case cases[] = {
      {TextAlign::Start, "0123456789", 10, {98, 43, 64, 14}},
      {TextAlign::Middle, "0123456789", 10, {68, 43, 64, 14}},
      {TextAlign::End, "0123456789", 10, {38, 43, 64, 14}},
      {TextAlign::Start, "", 12, {98, 42, 4, 16}},  // no text: the padding alone
      // What the document drops takes no room: U+FFFE, U+FFFF and C0 controls; escapes count as their character.
      {TextAlign::Start, "01234\xEF\xBF\xBE" "56789\xEF\xBF\xBF", 10, {98, 43, 64, 14}},
      {TextAlign::End, "0123\x01" "45678\x1B" "9", 10, {38, 43, 64, 14}},
      {TextAlign::Start, "a&b<c>d\"ef", 10, {98, 43, 64, 14}},
  };
  for (const Case& c : cases) {
    TextStyle style;
    style.align = c.align;
    style.font_size = c.font_size;
    EXPECT_EQ(text_backing(c.text, style, 100, 50), c.want) << static_cast<int>(c.align) << " " << c.text;
  }
}

}  // namespace
}  // namespace qc::render
