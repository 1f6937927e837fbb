// Legend lines: which vectors are quoted, their last values, colours and decimals, and where each text goes.
#include "api/legend_painter.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "primitives/support.hpp"

namespace qc::api {
namespace {

using primitives::testing::parse_body;
using primitives::testing::SvgElement;

constexpr double kNaN = NAN;
const LegendColors kColors = LegendColors::make({0xb2, 0xb5, 0xbe, 255}, {0x13, 0x17, 0x22, 255});

model::IndicatorVector vector_of(model::VectorStyle style, std::vector<double> values, std::vector<std::uint8_t> up = {}) {
  auto v = model::IndicatorVector::make("v", std::move(style));
  v.values.assign(values.begin(), values.end());
  v.up_flags = std::move(up);
  return v;
}

// A backing's tag, place, size and fill.
std::vector<std::string> box(const SvgElement& e) {
  return {e.tag, e.at("x"), e.at("y"), e.at("width"), e.at("height"), e.at("fill")};
}

// The line's elements: its backing first, then its texts.
std::vector<SvgElement> legend_of(const model::Indicator& ind, LegendNumbers numbers, std::size_t bars) {
  render::SvgBackend out(800, 600, 1);
  draw_legend_line(out, ind, 30, numbers, kColors, bars);
  return parse_body(out.body());
}

// Three bars. Each text starts 10 px after the previous one's reckoned end, 6.6 px per byte of the text as
// given (the name's 10 bytes, not its escaped 14). The backing, in the background at alpha 0xCC, runs from
// x = 4 to 4 px past the last text's reckoned end (236.2 + 4 x 6.6), over the line's pitch.
TEST(Legend, LastValuesTheirColoursPlacesAndBacking) {
  auto ind = model::Indicator::make("s", "Study & co");
  ind = std::move(ind)
            .add_vector(vector_of(model::VectorStyle::line("#2196F380", 1), {1, 2, kNaN}))  // last finite, opaque
            .add_vector(vector_of(model::VectorStyle::histogram_colored("#00ff00", "#ff0000"), {1, -2}, {false, true}))
            .add_vector(vector_of(model::VectorStyle::histogram(), {3, -0.001}))  // by sign; never "-0.00"
            .add_vector(vector_of(model::VectorStyle::hidden(), {5, 5, 5}))
            .add_vector(vector_of(model::VectorStyle::line("#ffffff", 1), {kNaN, kNaN, kNaN}))
            .add_vector(vector_of(model::VectorStyle::cloud("#11223380", "#44556680", "Study", 1.0), {7}))
            .add_vector(vector_of(model::VectorStyle::dots("#abcdef", 2, true), {1, 2, 3, 4}))  // 4 is past the bars
            .add_vector(vector_of(model::VectorStyle::line("nonsense", 1), {}));
  auto texts = legend_of(ind, {}, 3);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(box(texts.front()),
            (std::vector<std::string>{"rect", "4.00", "22.00", "262.60", "16.00", "rgba(19,23,34,0.8)"}));
  texts.erase(texts.begin());
  struct Want {
    std::string content, x, fill;
  };
  const std::vector<Want> want = {{"Study & co", "8.00", "#b2b5be"}, {"2.00", "84.00", "#2196f3"},
                                  {"-2.00", "120.40", "#00ff00"},       {"0.00", "163.40", "#ef5350"},
                                  {"7.00", "199.80", "#445566"},        {"3.00", "236.20", "#abcdef"}};
  ASSERT_EQ(texts.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(texts[i].content, want[i].content) << i;
    EXPECT_EQ(texts[i].at("x"), want[i].x) << i;
    EXPECT_EQ(texts[i].at("fill"), want[i].fill) << i;
    EXPECT_EQ(texts[i].at("y"), "30.00") << i;
    EXPECT_EQ(texts[i].at("font-size"), "11.0") << i;
    EXPECT_EQ(texts[i].at("text-anchor"), "start") << i;
    EXPECT_EQ(texts[i].at("dominant-baseline"), "central") << i;
  }
}

// The name alone, its backing ending 4 px past the name's reckoned end (8 + 6 x 6.6).
TEST(Legend, NameAloneWithoutValuesOrBars) {
  auto ind = model::Indicator::make("cci", "CCI 20").add_vector(vector_of(model::VectorStyle::line("#fff", 1), {}));
  auto line = legend_of(ind, {}, 50);
  ASSERT_EQ(line.size(), 2u);
  EXPECT_EQ(box(line[0]),
            (std::vector<std::string>{"rect", "4.00", "22.00", "47.60", "16.00", "rgba(19,23,34,0.8)"}));
  ind.vectors[0].values = {1, 2};
  line = legend_of(ind, {}, 0);
  ASSERT_EQ(line.size(), 2u);
  EXPECT_EQ(line[1].content, "CCI 20");
}

// Decimals: as many as the pane's scale labels carry, and as many as a caption gives a price at the pane's
// largest |tick| (2 without ticks); units on a sub-pane whose largest |tick| reaches 100,000.
TEST(Legend, NumberFormOfAPane) {
  using coords::ScaleNumbers;
  struct Case {
    double lo, hi, height;
    ScaleNumbers scale;
    int decimals;
    bool in_units;
  };
  const Case cases[] = {
      {93.9, 206.1, 484.5, ScaleNumbers::full, 2, false},          // step 10
      {0, 100, 81.5, ScaleNumbers::in_units, 2, false},            // step 20
      {0, 1, 300, ScaleNumbers::full, 4, false},                   // step 0.1, largest tick under 1
      {0.5, 0.9, 300, ScaleNumbers::full, 4, false},               // step 0.02, largest tick 0.88
      {0, 0.01, 300, ScaleNumbers::full, 6, false},                // step 0.001, largest tick 0.009
      {0.0003, 0.000304, 456, ScaleNumbers::full, 7, false},       // step 5e-7: the labels' 7
      {0.00022, 0.00035, 400, ScaleNumbers::full, 7, false},       // step 1e-5, ticks 0.00022 ... 0.00034
      {5, 5, 300, ScaleNumbers::full, 2, false},                   // no ticks
      {0, 1.1e11, 81.5, ScaleNumbers::in_units, 2, true},          // ticks 0, 50B, 100B
      {0, 1.1e11, 81.5, ScaleNumbers::full, 2, false},             // the main pane keeps full numbers
      {-90000, 99999, 300, ScaleNumbers::in_units, 2, false},      // largest tick 80,000
      {-120000, 99999, 300, ScaleNumbers::in_units, 2, true},      // largest tick -120,000
  };
  for (const Case& c : cases) {
    const LegendNumbers n = pane_legend_numbers(c.lo, c.hi, c.height, c.scale);
    EXPECT_EQ(n.decimals, c.decimals) << c.lo << " " << c.hi;
    EXPECT_EQ(n.in_units, c.in_units) << c.lo << " " << c.hi;
  }
}

// Values of 100,000 or more in their own unit with two decimals where the pane takes units, whole numbers
// below that on the volume band, and every other value in full.
TEST(Legend, ValuesInFullOrInUnits) {
  struct Case {
    double value;
    LegendNumbers numbers;
    const char* text;
  };
  const Case cases[] = {
      {152067858285.03, {2, true}, "152.07B"},
      {-5310000, {2, true}, "-5.31M"},
      {100000, {2, true}, "100.00K"},
      {99999.994, {2, true}, "99999.99"},
      {2.5e15, {0, true}, "2500.00T"},
      {1e6, kVolumeLegendNumbers, "1.00M"},
      {99999.4, kVolumeLegendNumbers, "99999"},
      {0, kVolumeLegendNumbers, "0"},
      {152067858285.03, {2, false}, "152067858285.03"},
      {0.00026134, {7, false}, "0.0002613"},
      {-0.001, {2, false}, "0.00"},
  };
  for (const Case& c : cases) {
    const auto ind = model::Indicator::make("p", "P").add_vector(vector_of(model::VectorStyle::line("#fff", 1), {c.value}));
    const auto line = legend_of(ind, c.numbers, 1);
    ASSERT_EQ(line.size(), 3u) << c.text;
    EXPECT_EQ(line[2].content, c.text);
  }
}

// The title on a backing 20 px high around its line, ending 4 px past its reckoned end: 8 + 0.6 x 14 x 9
// bytes as given (the "&" counts one).
TEST(Legend, TitleBacking) {
  render::SvgBackend out(800, 600, 1);
  draw_title(out, "S&P daily", LegendColors::make({0x43, 0x46, 0x51, 255}, {0xff, 0xff, 0xff, 0x80}));
  const auto elements = parse_body(out.body());
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(box(elements[0]),
            (std::vector<std::string>{"rect", "4.00", "6.00", "83.60", "20.00", "rgba(255,255,255,0.8)"}));
  EXPECT_EQ(elements[1].content, "S&P daily");
  EXPECT_EQ(elements[1].at("fill"), "#434651");
}

}  // namespace
}  // namespace qc::api
