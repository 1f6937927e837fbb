// Price range, date range and price/date range: bands, solid boundaries, captions and their anchors.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "primitives/catalog/measurement/band.hpp"
#include "primitives/catalog/measurement/date_range.hpp"
#include "primitives/catalog/measurement/price_date_range.hpp"
#include "primitives/catalog/measurement/price_range.hpp"
#include "tool_support.hpp"

namespace qc::primitives::catalog {
namespace {

using namespace testing;

TEST(MeasurementBand, ColourAtAQuarterAlpha) {
  struct Case {
    const char* stroke;
    const char* band;
  };
  const Case cases[] = {
      {"#2196F3", "#2196F340"},
      {"#2196F380", "#2196F340"},  // its own alpha replaced, not ten digits
      {"#fa0", "#ffaa0040"},
      {"rgb(1,2,3)", "rgb(1,2,3)40"},
  };
  for (const Case& c : cases) EXPECT_EQ(band_color(c.stroke), c.band) << c.stroke;
}

TEST(PriceRange, BandAcrossTheDocumentAndCaption) {
  auto range = make<PriceRange>({{10, 100}, {99, 110}});  // y 200 and 180; the second bar is not used
  range->data_mut().style = LineStyle::Dotted;
  const auto e = draw(*range);
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].tag, "rect");
  EXPECT_EQ(e[0].number("x"), 0);
  EXPECT_EQ(e[0].number("width"), kCanvasWidth);
  EXPECT_EQ(e[0].number("y"), 180.5);
  EXPECT_EQ(e[0].number("height"), 20);
  EXPECT_EQ(e[0].at("fill"), "rgba(33,150,243,0.25098039215686274)");
  EXPECT_EQ(vertices(e[1]), (std::vector<XY>{{0, 200.5}, {kCanvasWidth, 200.5}}));
  EXPECT_EQ(vertices(e[2]), (std::vector<XY>{{0, 180.5}, {kCanvasWidth, 180.5}}));
  for (int i : {1, 2}) EXPECT_FALSE(e[i].has("stroke-dasharray"));
  EXPECT_EQ(e[3].content, "10.00 (10.00%)");
  EXPECT_EQ(e[3].number("x"), x_of(10) + 10.5);
  EXPECT_EQ(e[3].number("y"), 190.5);
  EXPECT_EQ(e[3].at("fill"), "#2196f3");
}

TEST(PriceRange, CaptionsByOption) {
  struct Case {
    double from, to;
    bool percentage, pips;
    const char* caption;
  };
  const Case cases[] = {
      {100, 110, true, true, "10.00 (10.00%)"}, {110, 100, true, true, "-10.00 (-9.09%)"},
      {100, 110, false, true, "10.00"},         {110, 100, false, false, "-10.00"},
      {100, 110, true, false, "10.00%"},        {110, 100, true, false, "-9.09%"},
      {0, 5, true, true, "5.00 (0.00%)"},       {5, 0, true, true, "-5.00 (-100.00%)"},
      // the S&P 500's fall of February to March 2020
      {3393.52, 2191.86, true, true, "-1201.66 (-35.41%)"},
      // moves that round to zero carry no sign, either way
      {100, 99.999, true, true, "0.00 (0.00%)"}, {100, 100.001, true, true, "0.00 (0.00%)"},
      // from a negative price the percentage keeps the move's direction
      {-10, -5, true, true, "5.00 (50.00%)"},   {-5, -10, true, true, "-5.00 (-100.00%)"},
      // a 0.00003 move on a stock at 0.0003 keeps its digits (level 0.00033: 7 decimals); percentages keep two
      {0.0003, 0.00033, true, true, "0.0000300 (10.00%)"}, {0.00033, 0.0003, true, true, "-0.0000300 (-9.09%)"},
      {0.0003, 0.00033, true, false, "10.00%"},
  };
  for (const Case& c : cases) {
    auto range = make<PriceRange>({{0, c.from}, {0, c.to}});
    range->show_percentage = c.percentage;
    range->show_pips = c.pips;
    EXPECT_EQ(draw(*range).at(3).content, c.caption) << c.from << " to " << c.to;
  }
}

TEST(PriceRange, VisibleBandForAnEightDigitStroke) {
  auto range = make<PriceRange>({}, "#2196F380");
  EXPECT_EQ(draw(*range).at(0).at("fill"), "rgba(33,150,243,0.25098039215686274)");
}

TEST(DateRange, BandOverTheDocumentHeightAndCaption) {
  for (const auto& points : {std::vector<Point>{{5, 50}, {25, 999}}, std::vector<Point>{{25, 50}, {5, 999}}}) {
    auto range = make<DateRange>(points);
    const auto e = draw(*range);
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].number("x"), 55.5);
    EXPECT_EQ(e[0].number("width"), 200);
    EXPECT_EQ(e[0].number("y"), 0);
    EXPECT_EQ(e[0].number("height"), kCanvasHeight);
    EXPECT_EQ(vertices(e[1]), (std::vector<XY>{{x_of(points[0].bar) + 0.5, 0}, {x_of(points[0].bar) + 0.5, kCanvasHeight}}));
    EXPECT_EQ(e[3].content, "20 bars");
    EXPECT_EQ(e[3].number("x"), 155.5);
    EXPECT_EQ(e[3].number("y"), y_of(50) - 10 + 0.5);
    range->show_bars = false;
    EXPECT_EQ(draw(*range).at(3).content, "20");
  }
}

TEST(PriceDateRange, BoxAndStackedCaptions) {
  auto range = make<PriceDateRange>({{0, 100}, {20, 110}});  // x 5..205, y 180..200
  const auto e = draw(*range);
  ASSERT_EQ(e.size(), 4u);
  for (int i : {0, 1}) {
    EXPECT_EQ(e[i].tag, "rect");
    EXPECT_EQ(e[i].number("x"), 5.5);
    EXPECT_EQ(e[i].number("y"), 180.5);
    EXPECT_EQ(e[i].number("width"), 200);
    EXPECT_EQ(e[i].number("height"), 20);
  }
  EXPECT_EQ(e[1].at("fill"), "none");
  EXPECT_EQ(e[2].content, "10.00 (10.00%)");
  EXPECT_EQ(e[2].number("y"), 190.5 - 15);
  EXPECT_EQ(e[3].content, "20 bars");
  EXPECT_EQ(e[3].number("x"), 105.5);
  EXPECT_EQ(e[3].number("y"), 190.5);

  range->show_pips = false;
  auto only_bars = draw(*range);
  ASSERT_EQ(only_bars.size(), 3u);
  EXPECT_EQ(only_bars[2].content, "20 bars");
  EXPECT_EQ(only_bars[2].number("y"), 190.5 - 15);
  range->show_pips = true;
  range->show_percentage = false;
  range->show_bars = false;
  EXPECT_EQ(draw(*range).at(2).content, "10.00");
  range->set_points(std::vector<Point>{{0, 0.00033}, {20, 0.0003}});
  EXPECT_EQ(draw(*range).at(2).content, "-0.0000300");
  range->show_percentage = true;
  range->set_points(std::vector<Point>{{0, 3393.52}, {20, 2191.86}});
  EXPECT_EQ(draw(*range).at(2).content, "-1201.66 (-35.41%)");
}

TEST(MeasurementCaptions, BackedInTheBackgroundColour) {
  struct Case {
    std::unique_ptr<Primitive> tool;
    std::vector<std::string> captions;
  };
  Case cases[] = {
      {make<PriceRange>({{10, 100}, {99, 110}}), {"10.00 (10.00%)"}},
      {make<DateRange>({{5, 50}, {25, 50}}), {"20 bars"}},
      {make<PriceDateRange>({{0, 100}, {20, 110}}), {"10.00 (10.00%)", "20 bars"}},
  };
  for (const Case& c : cases) {
    const auto plain = draw(*c.tool);
    const auto e = draw_on(*c.tool, {{}, "#131722"});
    // Each caption right after its backing; nothing else changes.
    ASSERT_EQ(e.size(), plain.size() + c.captions.size()) << c.tool->type_id();
    std::size_t k = 0;
    for (std::size_t i = 0; i < e.size(); ++i) {
      if (e[i].tag != "text") continue;
      ASSERT_LT(k, c.captions.size());
      const SvgElement& text = e[i];
      const SvgElement& backing = e[i - 1];
      EXPECT_EQ(text.content, c.captions[k++]);
      EXPECT_EQ(backing.tag, "rect");
      EXPECT_EQ(backing.at("fill"), "rgba(19,23,34,0.8)");
      // 2 px beyond 0.6 x 12 px a byte at each end; 12 + 4 px tall around the text's middle, 3.6 px above
      // its baseline.
      EXPECT_DOUBLE_EQ(backing.number("x"), text.number("x") - 2);
      EXPECT_NEAR(backing.number("width"), 7.2 * static_cast<double>(text.content.size()) + 4, 0.006);
      EXPECT_NEAR(backing.number("y"), text.number("y") - 3.6 - 8, 0.006);
      EXPECT_EQ(backing.number("height"), 16);
    }
    EXPECT_EQ(k, c.captions.size());
    // A background with its own alpha is made fainter still, never more opaque.
    const auto faint = draw_on(*c.tool, {{}, "#13172280"});
    EXPECT_EQ(faint.at(plain.size() - c.captions.size()).at("fill"), "rgba(19,23,34,0.4)");
  }
}

TEST(Measurement, FactoriesAnchorsAndJson) {
  auto price = make<PriceRange>({{3, 50}});
  EXPECT_EQ(price->points(), (std::vector<Point>{{3, 50}, {3, 60}}));
  const std::vector<Point> two = {{7, 1}, {99, 2}};
  price->set_points(two);
  EXPECT_EQ(price->points(), (std::vector<Point>{{7, 1}, {7, 2}}));
  price->translate(1, 1);
  EXPECT_TRUE(price->to_json().ends_with(R"("bar":8.0,"price1":2.0,"price2":3.0,"show_percentage":true,"show_pips":true})"));

  auto date = make<DateRange>({});
  EXPECT_EQ(date->points(), (std::vector<Point>{{0, 100}, {20, 100}}));
  date->set_points(two);
  EXPECT_EQ(date->points(), (std::vector<Point>{{7, 1}, {99, 1}}));
  date->translate(1, 1);
  EXPECT_TRUE(date->to_json().ends_with(R"("bar1":8.0,"bar2":100.0,"price":2.0,"show_bars":true,"show_time":true})"));

  auto both = make<PriceDateRange>({{1, 2}});
  EXPECT_EQ(both->points(), (std::vector<Point>{{1, 2}, {21, 12}}));
  EXPECT_EQ(make<PriceDateRange>({})->points(), (std::vector<Point>{{0, 100}, {20, 110}}));
  EXPECT_TRUE(both->to_json().ends_with(
      R"("bar1":1.0,"price1":2.0,"bar2":21.0,"price2":12.0,"show_percentage":true,"show_bars":true,"show_pips":true})"));
  EXPECT_EQ(make<PriceRange>({})->points(), (std::vector<Point>{{0, 100}, {0, 110}}));
}

}  // namespace
}  // namespace qc::primitives::catalog
