// Text backings: the estimated width padded by 2 px, one font size plus 2 px above and below, placed by the
// text's alignment.
#include "render/engine/text_backing.hpp"

#include <gtest/gtest.h>

namespace qc::render {
namespace {

TEST(TextBacking, PaddedAroundTheTextAsAligned) {
  struct Case {
    TextAlign align;
    std::size_t bytes;
    double font_size;
    Rect want;
  };
  // At (100, 50): 10 bytes of size 10 are 60 px wide; the backing is 64 x 14 about y = 50.
  const Case cases[] = {
      {TextAlign::Start, 10, 10, {98, 43, 64, 14}},
      {TextAlign::Middle, 10, 10, {68, 43, 64, 14}},
      {TextAlign::End, 10, 10, {38, 43, 64, 14}},
      {TextAlign::Start, 0, 12, {98, 42, 4, 16}},  // no text: the padding alone
  };
  for (const Case& c : cases) {
    TextStyle style;
    style.align = c.align;
    style.font_size = c.font_size;
    EXPECT_EQ(text_backing(c.bytes, style, 100, 50), c.want) << static_cast<int>(c.align) << " " << c.bytes;
  }
}

}  // namespace
}  // namespace qc::render
