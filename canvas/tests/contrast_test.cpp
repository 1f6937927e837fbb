// Contrast of tag texts: WCAG 2 luminance and ratios against published figures, compositing over the
// background, and the choice of the tag's text colour.
#include "render/engine/contrast.hpp"

#include <gtest/gtest.h>

namespace qc::render {
namespace {

constexpr Color kWhite{255, 255, 255, 255}, kBlack{0, 0, 0, 255}, kDark{0x13, 0x17, 0x22, 255};

TEST(Contrast, RatiosOfWhiteTextOnTagColours) {
  struct Case {
    Color fill;
    double ratio;  // white on the fill, to two decimals
  };
  const Case cases[] = {
      {kBlack, 21.0},
      {kWhite, 1.0},
      {{0x26, 0xa6, 0x9a, 255}, 3.00},  // the up colour
      {{0xef, 0x53, 0x50, 255}, 3.49},  // the down colour
      {{0x00, 0xff, 0x00, 255}, 1.37},  // high contrast's up
      {{0x00, 0xff, 0xf5, 255}, 1.26},  // cyberpunk's up
      {{0x77, 0x77, 0x77, 255}, 4.48},  // the grey WCAG cites as just below 4.5:1
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(contrast_ratio(kWhite, c.fill), c.ratio, 0.005) << int{c.fill.r} << "," << int{c.fill.g};
    EXPECT_DOUBLE_EQ(contrast_ratio(c.fill, kWhite), contrast_ratio(kWhite, c.fill));  // either order
  }
  EXPECT_DOUBLE_EQ(relative_luminance(kBlack), 0.0);
  EXPECT_DOUBLE_EQ(relative_luminance(kWhite), 1.0);
}

TEST(Contrast, CompositingOverAnOpaqueBackground) {
  struct Case {
    Color top, bottom, want;
  };
  const Case cases[] = {
      {{255, 0, 0, 255}, {0, 0, 255, 255}, {255, 0, 0, 255}},        // opaque: the top
      {{255, 0, 0, 0}, {0, 0, 255, 255}, {0, 0, 255, 255}},          // transparent: the bottom
      {{255, 255, 255, 0x80}, {0, 0, 0, 255}, {128, 128, 128, 255}},  // 255 x 128 / 255, rounded
      {{0, 0, 0, 0x80}, {255, 255, 255, 0x10}, {127, 127, 127, 255}},  // the bottom's alpha is not read
  };
  for (const Case& c : cases) EXPECT_EQ(composite_over(c.top, c.bottom), c.want);
}

TEST(Contrast, TagTextIsWhiteUnlessItReadsBelowTwoAndAHalf) {
  struct Case {
    const char* name;
    Color fill, background, want;
  };
  const Case cases[] = {
      {"teal on dark", {0x26, 0xa6, 0x9a, 255}, kDark, kWhite},
      {"red on white", {0xef, 0x53, 0x50, 255}, kWhite, kWhite},
      {"green", {0x00, 0xff, 0x00, 255}, kBlack, kTagTextDark},
      {"cyan", {0x00, 0xff, 0xf5, 255}, kDark, kTagTextDark},
      {"white", kWhite, kDark, kTagTextDark},
      // #808080 reads 3.95:1; #b0b0b0 2.17:1.
      {"mid grey", {0x80, 0x80, 0x80, 255}, kDark, kWhite},
      {"light grey", {0xb0, 0xb0, 0xb0, 255}, kDark, kTagTextDark},
      // Half-alpha teal as seen: over the dark background white still reads, over white it does not.
      {"translucent teal on dark", {0x26, 0xa6, 0x9a, 0x80}, kDark, kWhite},
      {"translucent teal on white", {0x26, 0xa6, 0x9a, 0x80}, kWhite, kTagTextDark},
      // A see-through background lies over white: a transparent one over nothing but white.
      {"transparent tag and background", {0, 0, 0, 0}, {0, 0, 0, 0}, kTagTextDark},
  };
  for (const Case& c : cases) EXPECT_EQ(tag_text_color(c.fill, c.background), c.want) << c.name;
  EXPECT_EQ(kTagTextDark, kDark);
}

}  // namespace
}  // namespace qc::render
