// The volume tools against hand-computed values: bar spans, volume profiles (sharing, point of control,
// value area), the anchored VWAP and its bands, and how each is drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "model/series/bar_columns.hpp"
#include "primitives/catalog/volume/anchored_volume_profile.hpp"
#include "primitives/catalog/volume/anchored_vwap.hpp"
#include "primitives/catalog/volume/fixed_volume_profile.hpp"
#include "primitives/catalog/volume/profile.hpp"
#include "studies/vwap_sums.hpp"
#include "tool_support.hpp"

namespace qc::primitives::catalog {
namespace {

using namespace testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Range {
  double low, high, volume;
};

// Bars with the given lows, highs and volumes; open and close halfway.
model::BarColumns bars_of(std::initializer_list<Range> ranges) {
  model::BarColumns out;
  std::int64_t t = 0;
  for (const Range& r : ranges) out.push_back({t++, (r.low + r.high) / 2, r.high, r.low, (r.low + r.high) / 2, r.volume});
  return out;
}

// Five bars over 100..108: in 4 bands of 2 the first shares 40 between bands 0 and 1, the second 20 between
// 1 and 2, the third 60 between 2 and 3; the fourth (low = high = 105) and the fifth (104, on a band's
// bottom edge) give all to band 2. Bands: 20, 30, 55, 30 of 135.
const model::BarColumns kFive = bars_of({{100, 104, 40}, {102, 106, 20}, {104, 108, 60}, {105, 105, 10}, {104, 104, 5}});

TEST(HeldBars, RoundedClampedAndInEitherOrder) {
  struct Case {
    std::size_t count;
    double from, to;
    std::optional<std::pair<std::size_t, std::size_t>> span;
  };
  const Case cases[] = {
      {10, 2.4, 5.6, std::pair{2, 6}},   {10, 5.6, 2.4, std::pair{2, 6}}, {10, 2.5, 2.5, std::pair{3, 3}},
      {10, -3, 2, std::pair{0, 2}},      {10, 8.5, 1e300, std::pair{9, 9}}, {10, -1e300, 1e300, std::pair{0, 9}},
      {10, 9.5, 12, std::nullopt},       {10, -5, -0.6, std::nullopt},    {10, kNaN, 3, std::nullopt},
      {10, 3, kNaN, std::nullopt},       {0, 0, 5, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto span = held_bars(c.count, c.from, c.to);
    ASSERT_EQ(span.has_value(), c.span.has_value()) << c.from << ".." << c.to;
    if (span) {
      EXPECT_EQ((std::pair{span->first, span->last}), *c.span) << c.from << ".." << c.to;
    }
  }
}

TEST(VolumeProfile, SharesPointOfControlAndValueArea) {
  struct Case {
    const char* what;
    model::BarColumns bars;
    BarSpan span;
    std::size_t rows;
    std::vector<double> volume;
    std::size_t poc, area_low, area_high;
  };
  const Case cases[] = {
      // POC band 2; its neighbours tie at 30 and the upper goes first (85 of 135), then the lower (115 >= 94.5).
      {"five bars", kFive, {0, 4}, 4, {20, 30, 55, 30}, 2, 1, 3},
      // Only the span's bars count: 104..108 in bands of 1 hold 15 + 5, 15 + 10, 15, 15.
      {"from bar 2", kFive, {2, 4}, 4, {20, 25, 15, 15}, 1, 0, 2},
      // The area stops once it holds exactly 70 %.
      {"exactly 70 %", bars_of({{0, 1, 50}, {1, 2, 20}, {2, 3, 30}, {0, 3, 0}}), {0, 3}, 3, {50, 20, 30}, 0, 0, 1},
      // Equal largest bands: the lower is the point of control.
      {"lower of equal bands", bars_of({{0, 1, 40}, {1, 2, 20}, {2, 3, 40}}), {0, 2}, 3, {40, 20, 40}, 0, 0, 2},
      // A bar over part of two bands gives each its share of its range: 1..3 puts 5 in [0, 2) and 5 in [2, 4).
      {"partial overlap", bars_of({{0, 8, 80}, {1, 3, 10}}), {0, 1}, 4, {25, 25, 20, 20}, 0, 0, 2},
      // Bars over several bands, and a band between them that none crosses: exactly empty, no rounding left.
      // (0.1 + 0.2 - 0.1 - 0.2 leaves 2.8e-17 in floating point.)
      {"gap", bars_of({{0, 3, 0.3}, {1, 4, 0.6}, {5, 6, 0.1}}), {0, 2}, 6, {0.1, 0.3, 0.3, 0.2, 0, 0.1}, 1, 1, 3},
      // A bar without prices is left out; one with no volume, or a negative one, widens the range only.
      {"unusable bars", bars_of({{0, 2, 10}, {kNaN, 5, 100}, {2, 4, 0}, {1, 3, -7}, {0, 2, kNaN}}), {0, 4}, 2, {10, 0}, 0, 0, 0},
      // One price for every bar: all in the one band, whatever the rows.
      {"flat", bars_of({{5, 5, 3}, {5, 5, 4}}), {0, 1}, 3, {7, 0, 0}, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const auto p = measure_volume_profile(c.bars, c.span, c.rows);
    ASSERT_TRUE(p) << c.what;
    ASSERT_EQ(p->volume.size(), c.volume.size()) << c.what;
    for (std::size_t i = 0; i < c.volume.size(); ++i) {
      if (c.volume[i] == 0) {
        EXPECT_EQ(p->volume[i], 0) << c.what << " band " << i;
      } else {
        EXPECT_NEAR(p->volume[i], c.volume[i], 1e-9) << c.what << " band " << i;
      }
    }
    EXPECT_EQ(p->poc, c.poc) << c.what;
    EXPECT_EQ(p->area_low, c.area_low) << c.what;
    EXPECT_EQ(p->area_high, c.area_high) << c.what;
  }
}

TEST(VolumeProfile, BandsSplitTheRangeAndNothingToMeasureGivesNone) {
  const auto p = measure_volume_profile(kFive, {0, 4}, 4);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->low, 100);
  EXPECT_EQ(p->high, 108);
  EXPECT_EQ(p->band_bottom(1), 102);
  EXPECT_EQ(p->band_top(1), 104);
  EXPECT_EQ(p->band_top(3), 108);
  EXPECT_FALSE(measure_volume_profile(kFive, {0, 4}, 0));
  EXPECT_FALSE(measure_volume_profile(bars_of({{1, 2, 0}, {2, 3, 0}}), {0, 1}, 4));
  EXPECT_FALSE(measure_volume_profile(bars_of({{kNaN, kNaN, 5}}), {0, 0}, 4));
  EXPECT_FALSE(measure_volume_profile(kFive, {0, 5}, 4));  // a span past the bars held
}

// Rows of the test canvas's elements: paths filled at half alpha.
std::vector<SvgElement> rows_of(const std::vector<SvgElement>& e) {
  std::vector<SvgElement> out;
  for (const auto& el : e) {
    if (el.has("fill") && el.at("fill") == "rgba(33,150,243,0.4980392156862745)") out.push_back(el);
  }
  return out;
}

TEST(FixedVolumeProfile, MeasuredRowsFromTheLeftBoundary) {
  auto profile = make<FixedVolumeProfile>({{4, 1}, {0, 2}});  // left 5, right 45: the longest row 12 px
  EXPECT_EQ(profile->points(), (std::vector<Point>{{4, 0}, {0, 0}}));
  EXPECT_EQ(make<FixedVolumeProfile>({{4, 1}})->bar2, 54);
  profile->rows = 4;
  const auto e = draw_on(*profile, {kFive, "#131722"});
  ASSERT_EQ(e.size(), 2u + 4u + 3u);
  EXPECT_EQ(e[0].at("d"), "M5.50 0.00 L5.50 600.00");
  EXPECT_EQ(e[1].at("d"), "M45.50 0.00 L45.50 600.00");
  // Lowest band first, each from its band's top price to its bottom's: band 2 is 104..106, y 188..192.
  const double volumes[] = {20, 30, 55, 30};
  for (int i = 0; i < 4; ++i) {
    const auto v = vertices(e[2 + static_cast<std::size_t>(i)]);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0], (XY{5, y_of(100 + 2 * i + 2)}));
    EXPECT_NEAR(v[1].x - 5, volumes[i] / 55 * 12, 0.006);  // written with two decimals
    EXPECT_EQ(v[2].y, y_of(100 + 2 * i));
  }
  const SvgElement& poc = e[6];
  EXPECT_EQ(poc.at("d"), "M5.50 190.50 L45.50 190.50");  // band 2's middle, 105
  EXPECT_EQ(poc.at("stroke"), "#ffeb3b");
  EXPECT_EQ(poc.at("stroke-width"), "2.00");
  EXPECT_EQ(e[7].at("d"), "M5.50 184.50 L45.50 184.50");  // the area's top, 108
  EXPECT_EQ(e[8].at("d"), "M5.50 196.50 L45.50 196.50");  // and bottom, 102
  EXPECT_EQ(e[7].at("stroke-dasharray"), "5.00,3.00");
  EXPECT_EQ(e[7].at("stroke"), "rgba(33,150,243,0.2980392156862745)");

  profile->show_poc = false;
  profile->show_value_area = false;
  EXPECT_EQ(draw_on(*profile, {kFive, {}}).size(), 6u);
  profile->rows = 0;
  EXPECT_EQ(draw_on(*profile, {kFive, {}}).size(), 2u);  // boundaries only
  EXPECT_EQ(draw(*profile).size(), 2u);                   // and without bars
  EXPECT_EQ(profile->to_json().substr(profile->to_json().find("\"bar1\"")),
            R"("bar1":4.0,"bar2":0.0,"rows":0,"show_poc":false,"show_value_area":false})");
}

TEST(FixedVolumeProfile, RowsStayInsideThePlot) {
  // From bar 70 (x 705) to bar 200 (x 2005): the longest row would be 390 px; it stops at the right edge.
  std::vector<Range> ranges(80, Range{10, 20, 1});
  model::BarColumns bars;
  for (const Range& r : ranges) bars.push_back({0, r.low, r.high, r.low, r.high, r.volume});
  for (const auto& points : {std::vector<Point>{{70, 0}, {200, 0}}, std::vector<Point>{{40, 0}, {79, 0}}}) {
    const auto e = draw_on(*make<FixedVolumeProfile>(points), {bars, {}});
    const auto rows = rows_of(e);
    ASSERT_EQ(rows.size(), 24u);
    for (const auto& row : rows) {
      for (const XY& v : vertices(row)) {
        EXPECT_GE(v.x, x_of(points[0].bar));
        EXPECT_LE(v.x, std::min(kCanvasWidth, x_of(points[0].bar) + 0.3 * (x_of(points[1].bar) - x_of(points[0].bar))));
      }
    }
  }
}

TEST(AnchoredVolumeProfile, MeasuresFromTheAnchorToTheLastBar) {
  auto profile = make<AnchoredVolumeProfile>({{2, 123}, {0, 1}});  // x 25; the second point is unused
  EXPECT_EQ(profile->points(), (std::vector<Point>{{2, 0}}));
  profile->rows = 4;
  const auto e = draw_on(*profile, {kFive, {}});
  ASSERT_EQ(e.size(), 1u + 4u + 1u + 2u + 1u);
  EXPECT_EQ(vertices(e[0]), (std::vector<XY>{{25.5, 0}, {25.5, kCanvasHeight}}));
  const double widest = 0.4 * (kCanvasWidth - 25);
  const double volumes[] = {20, 25, 15, 15};  // bars 2 to 4 over 104..108 in bands of 1
  for (int i = 0; i < 4; ++i) {
    const auto v = vertices(e[1 + static_cast<std::size_t>(i)]);
    EXPECT_EQ(v[0], (XY{25, y_of(104 + i + 1)}));
    EXPECT_NEAR(v[1].x - 25, volumes[i] / 25 * widest, 0.006);
  }
  EXPECT_EQ(e[5].at("d"), "M25.50 189.50 L335.50 189.50");  // band 1's middle, 105.5, as long as the widest
  EXPECT_EQ(e[6].at("d"), "M25.50 186.50 L335.50 186.50");  // the value area: bands 0 to 2, 104..107
  EXPECT_EQ(e[7].at("d"), "M25.50 192.50 L335.50 192.50");
  EXPECT_EQ(e[8].at("fill"), "#2196f3");  // the anchor dot
  EXPECT_EQ(draw_on(*profile, {kFive, {}}, 2.0).at(5).at("stroke-width"), "4.00");

  profile->anchor_bar = 7;  // past the last bar: nothing to measure
  EXPECT_EQ(draw_on(*profile, {kFive, {}}).size(), 2u);
}

// Typical prices 10, 10, 12, 15 with volumes 100, 1, 1, 2. From bar 1: VWAP 10, 11, 13 and volume-weighted
// deviations 0, 1, sqrt(4.5).
const model::BarColumns kVwapBars = {{0, 10, 12, 8, 10, 100}, {1, 10, 11, 9, 10, 1}, {2, 12, 13, 11, 12, 1},
                                     {3, 15, 16, 14, 15, 2}};

TEST(AnchoredVwap, RunningAverageAndBandsFromTheAnchor) {
  auto vwap = make<AnchoredVwap>({{1, 55}});
  const auto e = draw_on(*vwap, {kVwapBars, {}});
  ASSERT_EQ(e.size(), 4u);
  const double sd3 = std::sqrt(4.5);
  const struct {
    double m;
    std::vector<double> prices;
  } lines[] = {{0, {10, 11, 13}}, {2, {10, 13, 13 + 2 * sd3}}, {-2, {10, 9, 13 - 2 * sd3}}};
  const std::size_t at[] = {0, 2, 3};  // the line, then the dot, then the bands
  for (std::size_t j = 0; j < 3; ++j) {
    const auto v = vertices(e[at[j]]);
    ASSERT_EQ(v.size(), 3u) << lines[j].m;  // nothing before the anchor
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(v[i].x, x_of(1 + static_cast<double>(i)));
      EXPECT_NEAR(v[i].y, y_of(lines[j].prices[i]), 0.006) << lines[j].m << " at " << i;
    }
  }
  EXPECT_EQ(e[0].at("stroke"), "#2196f3");
  EXPECT_EQ(e[1].at("fill"), "#2196f3");  // the dot where the line starts
  EXPECT_EQ(e[1].at("d").substr(0, 14), "M19.00 380.00 ");
  EXPECT_EQ(e[2].at("stroke"), "rgba(33,150,243,0.2980392156862745)");

  vwap->show_bands = false;
  EXPECT_EQ(draw_on(*vwap, {kVwapBars, {}}).size(), 2u);
  vwap->anchor_bar = 4;  // past the last bar
  EXPECT_TRUE(draw_on(*vwap, {kVwapBars, {}}).empty());
  EXPECT_TRUE(draw(*vwap).empty());
}

TEST(AnchoredVwap, BarsWithoutVolumeOrPricesAddNoVertex) {
  const model::BarColumns bars = {{0, 10, 11, 9, 10, 0}, {1, 10, 11, 9, kNaN, 5}, {2, 10, 11, 9, 10, 1},
                                  {3, 12, 14, 10, 12, 1}};
  auto vwap = make<AnchoredVwap>({{0, 0}});
  vwap->show_bands = false;
  const auto e = draw_on(*vwap, {bars, {}});
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(vertices(e[0]), (std::vector<XY>{{x_of(2), y_of(10)}, {x_of(3), y_of(11)}}));
}

TEST(AnchoredVwap, DashScalesWithTheDevicePixelRatio) {
  struct Case {
    LineStyle style;
    double dpr;
    const char* dash;
  };
  const Case cases[] = {{LineStyle::Dotted, 2, "4.00,6.00"},     {LineStyle::Dashed, 2, "20.00,10.00"},
                        {LineStyle::Dotted, 1, "2.00,3.00"},     {LineStyle::LargeDashed, 2, "12.00,6.00"},
                        {LineStyle::SparseDotted, 2, "2.00,8.00"}};
  for (const Case& c : cases) {
    auto vwap = make<AnchoredVwap>({});
    vwap->data_mut().style = c.style;
    const auto e = draw_on(*vwap, {kVwapBars, {}}, c.dpr);
    EXPECT_EQ(e.at(0).at("stroke-dasharray"), c.dash);
    EXPECT_FALSE(e.at(2).has("stroke-dasharray"));  // the bands are solid
  }
}

TEST(VwapSums, MeanAndDeviationOfTheTypicalPrice) {
  struct Case {
    const char* what;
    std::vector<std::pair<double, double>> hlc_volume;
    double mean, deviation;
  };
  const Case cases[] = {
      {"one bar", {{30, 5}}, 10, 0},
      {"equal weights", {{30, 1}, {36, 1}}, 11, 1},
      {"weighted", {{30, 1}, {36, 1}, {45, 2}}, 13, std::sqrt(4.5)},
      // A spread of a cent at 3000: squares of the prices themselves would lose it to rounding.
      {"narrow spread at a high level", {{9000.03, 1}, {9000.09, 1}}, 3000.02, 0.01},
      {"zero volume first", {{99, 0}, {30, 2}}, 10, 0},
  };
  for (const Case& c : cases) {
    studies::VwapSums sums;
    for (const auto& [hlc, v] : c.hlc_volume) sums.add(hlc, v);
    EXPECT_NEAR(sums.mean(), c.mean, 1e-9) << c.what;
    EXPECT_NEAR(sums.deviation(), c.deviation, 1e-9) << c.what;
  }
}

TEST(VolumeTools, AnchorsAndJson) {
  auto profile = make<AnchoredVolumeProfile>({{7, 55}});
  EXPECT_EQ(profile->points(), (std::vector<Point>{{7, 0}}));
  profile->translate(5, 50);
  EXPECT_EQ(profile->points(), (std::vector<Point>{{12, 0}}));
  EXPECT_EQ(profile->data().width, 1.0);
  EXPECT_TRUE(profile->to_json().ends_with(R"("anchor_bar":12.0,"rows":24,"show_poc":true})"));
  auto vwap = make<AnchoredVwap>({{3, 4}, {5, 6}});
  vwap->translate(1, 1);
  EXPECT_TRUE(vwap->to_json().ends_with(
      R"("anchor_bar":4.0,"anchor_price":5.0,"show_bands":true,"band_multiplier":2.0})"));
}

}  // namespace
}  // namespace qc::primitives::catalog
