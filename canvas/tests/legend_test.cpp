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
constexpr render::Color kText{0xb2, 0xb5, 0xbe, 255};

model::IndicatorVector vector_of(model::VectorStyle style, std::vector<double> values, std::vector<std::uint8_t> up = {}) {
  auto v = model::IndicatorVector::make("v", std::move(style));
  v.values = std::move(values);
  v.up_flags = std::move(up);
  return v;
}

std::vector<SvgElement> legend_of(const model::Indicator& ind, int decimals, std::size_t bars) {
  render::SvgBackend out(800, 600, 1);
  draw_legend_line(out, ind, 30, decimals, kText, bars);
  return parse_body(out.body());
}

// Three bars. Each text starts 10 px after the previous one's reckoned end, 6.6 px per byte of the text as
// given (the name's 10 bytes, not its escaped 14).
TEST(Legend, LastValuesTheirColoursAndPlaces) {
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
  const auto texts = legend_of(ind, 2, 3);
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

TEST(Legend, NameAloneWithoutValuesOrBars) {
  auto ind = model::Indicator::make("cci", "CCI 20").add_vector(vector_of(model::VectorStyle::line("#fff", 1), {}));
  EXPECT_EQ(legend_of(ind, 2, 50).size(), 1u);
  ind.vectors[0].values = {1, 2};
  EXPECT_EQ(legend_of(ind, 2, 0).size(), 1u);
}

// As many decimals as the pane's scale labels, at least 2, and the values written with them.
TEST(Legend, DecimalsFollowThePaneScale) {
  struct Case {
    double lo, hi, height;
    int decimals;
  };
  const Case cases[] = {
      {93.9, 206.1, 484.5, 2},    // step 10
      {0, 100, 81.5, 2},          // step 20
      {0, 1, 300, 2},             // step 0.1
      {0, 0.01, 300, 3},          // step 0.001
      {0.0003, 0.000304, 456, 7}, // step 5e-7
  };
  for (const Case& c : cases) EXPECT_EQ(legend_decimals(c.lo, c.hi, c.height), c.decimals) << c.lo << " " << c.hi;
  auto ind = model::Indicator::make("p", "P").add_vector(vector_of(model::VectorStyle::line("#fff", 1), {0.00030214}));
  EXPECT_EQ(legend_of(ind, 7, 1).at(1).content, "0.0003021");
}

}  // namespace
}  // namespace qc::api
