// The CSS colour names: lookups in any case and with white space around them, refusals, stored texts.
#include "render/engine/css_names.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qc::render {
namespace {

TEST(CssNames, Lookups) {
  struct Case {
    std::string text;
    std::optional<Color> color;
  };
  const Case cases[] = {
      {"aliceblue", Color{240, 248, 255, 255}},      // first in the table
      {"yellowgreen", Color{154, 205, 50, 255}},     // last
      {"RebeccaPurple", Color{102, 51, 153, 255}},
      {" \tNAVY\u3000", Color{0, 0, 128, 255}},      // trimmed as from_css trims
      {"grey", Color{128, 128, 128, 255}},
      {"gray", Color{128, 128, 128, 255}},
      {"lightgoldenrodyellow", Color{250, 250, 210, 255}},  // the longest name
      {"Transparent", Color{0, 0, 0, 0}},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"blu", std::nullopt},
      {"bluee", std::nullopt},
      {"light blue", std::nullopt},
      {"lightgoldenrodyellowx", std::nullopt},  // longer than any name
      {"#0000ff", std::nullopt},
      {std::string("red\0", 4), std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<Color> got = css_named_color(c.text);
    ASSERT_EQ(got.has_value(), c.color.has_value()) << c.text;
    if (got) {
      EXPECT_EQ(got->word(), c.color->word()) << c.text;
    }
  }
}

TEST(CssNames, TableAndStoredTexts) {
  ASSERT_EQ(css_named_colors().size(), 149U);
  for (const NamedColor& entry : css_named_colors()) {
    const std::string text = css_hex_text(entry.color);
    // The stored text reads back as the same colour, and every name but one is opaque.
    EXPECT_EQ(Color::from_css(text), entry.color) << entry.name;
    EXPECT_EQ(entry.color.is_opaque(), entry.name != "transparent") << entry.name;
    EXPECT_EQ(css_named_color(entry.name), entry.color) << entry.name;
  }
  EXPECT_EQ(css_hex_text({0xf0, 0x8, 0xff, 255}), "#f008ff");
  EXPECT_EQ(css_hex_text({0, 0, 0, 0}), "#00000000");
  EXPECT_EQ(css_hex_text({1, 2, 3, 0x80}), "#01020380");
}

}  // namespace
}  // namespace qc::render
