// CSS colour parsing: the accepted forms and everything that must be refused.
#include "render/engine/types.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qc::render {
namespace {

TEST(ColorFromCss, AcceptedTexts) {
  struct Case {
    std::string text;
    Color color;
  };
  const Case cases[] = {
      {"  #26A69A  ", {38, 166, 154, 255}},
      {"#ff000080", {255, 0, 0, 128}},
      {"#F00", {255, 0, 0, 255}},
      {"#f80", {255, 136, 0, 255}},
      {"##fff", {255, 255, 255, 255}},
      {"#+f+f+f", {15, 15, 15, 255}},
      {"#00+f0000", {0, 15, 0, 0}},
      {"\t\n#123456\r\v\f", {0x12, 0x34, 0x56, 255}},
      {"\u00a0\u3000#abc\u2028\u205f\u202f\u0085", {0xaa, 0xbb, 0xcc, 255}},
      {"\u1680\u2000\u200a#000", {0, 0, 0, 255}},
      {"rgba(38, 166, 154, 0.28)", {38, 166, 154, 71}},
      {"rgb( 1 ,2, 3 )", {1, 2, 3, 255}},
      {"rgb(+1,002,255)", {1, 2, 255, 255}},
      {"rgb(\u00a01\u3000,2,3)", {1, 2, 3, 255}},
      {"rgba(0,0,0,1e0)", {0, 0, 0, 255}},
      {"rgba(1,2,3,0.5)", {1, 2, 3, 127}},
      {"rgba(1,2,3,2)", {1, 2, 3, 255}},
      {"rgba(1,2,3,-1)", {1, 2, 3, 0}},
      {"rgba(1,2,3,+.5)", {1, 2, 3, 127}},
      {"rgba(1,2,3,1.)", {1, 2, 3, 255}},
      {"rgba(1,2,3,5E-1)", {1, 2, 3, 127}},
      {"rgba(1,2,3,1e999)", {1, 2, 3, 255}},
      {"rgba(1,2,3,-1e999)", {1, 2, 3, 0}},
      {"rgba(1,2,3,1e-999)", {1, 2, 3, 0}},
      // Out-of-range exponents: the leading digit's position decides between infinity and zero.
      {"rgba(1,2,3,0." + std::string(400, '0') + "1e999)", {1, 2, 3, 255}},
      {"rgba(1,2,3,1" + std::string(400, '0') + ")", {1, 2, 3, 255}},
      {"rgba(1,2,3," + std::string(400, '0') + ".5)", {1, 2, 3, 127}},
      {"rgba(1,2,3,0." + std::string(10, '0') + "1e-400)", {1, 2, 3, 0}},
      {"rgba(1,2,3,1" + std::string(400, '0') + "e-800)", {1, 2, 3, 0}},
      {"rgba(1,2,3, 0.999 )", {1, 2, 3, 254}},
  };
  for (const Case& c : cases) {
    const std::optional<Color> got = Color::from_css(c.text);
    ASSERT_TRUE(got.has_value()) << c.text;
    EXPECT_EQ(got->word(), c.color.word()) << c.text;
  }
}

TEST(ColorFromCss, RefusedTexts) {
  const std::string refused[] = {
      "",           "   ",          "#",            "#ff00",           "#12345",        "#1234567",
      "#ff00000",   "#gg0000",      "#-f0000",      "#+f+",            "#++f000",       "#12 456",
      "#+00",       "#-00",         "#é12",         "#ff0000\u00e9",   "red",           "none",
      "transparent", "RGB(1,2,3)",  "rgba(1,2,3)",  "rgb(1,2,3,0.5)",  "rgb(1,2,3,)",   "rgb(1,2)",
      "rgb(256,0,0)", "rgb(-1,0,0)", "rgb(1.5,0,0)", "rgb(50%,0,0)",   "rgb(,2,3)",     "rgb(1 2 3)",
      "rgb (1,2,3)", "rgb(1,2,3) x", "rgb(1,2,3",   "rgb(++1,2,3)",    "rgb(+,2,3)",    "rgba(1,2,3,)",
      "rgba(1,2,3,.)", "rgba(1,2,3,e5)", "rgba(1,2,3,1e)", "rgba(1,2,3,0x1p0)", "rgba(1,2,3,nan(1))",
      "rgba(1,2,3,--1)", "rgba(1,2,3,1,1)", "hsl(0,0%,0%)", "rgb()", "rgba()", "#\u00a0fff",
      // Non-finite alphas, however spelt.
      "rgba(0,0,0,nan)", "rgba(1,2,3,-NaN)", "rgba(1,2,3,NAN)", "rgba(1,2,3,inf)", "rgba(1,2,3,-inf)",
      "rgba(1,2,3,Infinity)", "rgba(1,2,3,+infinity)",
  };
  for (const std::string& text : refused) EXPECT_FALSE(Color::from_css(text).has_value()) << text;
}

TEST(ColorWord, ChannelsPackRedLowest) {
  EXPECT_EQ(kOpaqueBlack.word(), 0xFF000000u);
  EXPECT_EQ(kOpaqueWhite.word(), 0xFFFFFFFFu);
  EXPECT_EQ(kTransparent.word(), 0u);
  EXPECT_EQ((Color{0x11, 0x22, 0x33, 0x44}).word(), 0x44332211u);
  EXPECT_EQ(Color::from_word(0x44332211u), (Color{0x11, 0x22, 0x33, 0x44}));
}

TEST(TextStyle, DefaultsFieldByField) {
  const TextStyle s;
  EXPECT_EQ(s.font_family, "sans-serif");
  EXPECT_EQ(s.font_size, 12.0);
  EXPECT_EQ(s.color, kOpaqueWhite);
  EXPECT_EQ(s.weight, FontWeight::Normal);
  EXPECT_EQ(s.align, TextAlign::Start);
  EXPECT_EQ(s.baseline, TextBaseline::Middle);
}

}  // namespace
}  // namespace qc::render
