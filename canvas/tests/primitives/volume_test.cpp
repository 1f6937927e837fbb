// Anchored VWAP and anchored volume profile: levels, bands, dash scaling, profile rows and the POC line.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "primitives/catalog/volume/anchored_volume_profile.hpp"
#include "primitives/catalog/volume/anchored_vwap.hpp"
#include "tool_support.hpp"

namespace qc::primitives::catalog {
namespace {

using namespace testing;

TEST(AnchoredVwap, LevelDotAndFaintBands) {
  auto vwap = make<AnchoredVwap>({});
  EXPECT_EQ(vwap->points(), (std::vector<Point>{{0, 100}}));
  const auto e = draw_with_probe(*vwap);
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(vertices(e[0]), (std::vector<XY>{{5.5, 200.5}, {kCanvasWidth + 0.5, 200.5}}));
  EXPECT_EQ(e[1].at("fill"), "#2196f3");  // the dot on the anchor
  EXPECT_EQ(e[1].at("stroke"), "none");
  for (int i : {2, 3}) {
    const double y = (i == 2 ? y_of(120) : y_of(80)) + 0.5;
    EXPECT_EQ(vertices(e[i]), (std::vector<XY>{{5.5, y}, {kCanvasWidth + 0.5, y}}));
    EXPECT_EQ(e[i].at("stroke"), "rgba(33,150,243,0.2980392156862745)");
  }
  EXPECT_EQ(e[4].at("stroke"), "#2196f3");  // the alpha is back to 1 afterwards

  vwap->show_bands = false;
  EXPECT_EQ(draw(*vwap).size(), 2u);
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
    const auto e = draw(*vwap, c.dpr);
    EXPECT_EQ(e.at(0).at("stroke-dasharray"), c.dash);
    EXPECT_FALSE(e.at(2).has("stroke-dasharray"));  // the bands are solid
  }
}

TEST(AnchoredVolumeProfile, RowsWidestAtMidHeight) {
  auto profile = make<AnchoredVolumeProfile>({{9.5, 123}});  // x = 100, so the widest bar is 280
  const auto e = draw(*profile);
  ASSERT_EQ(e.size(), 1u + 24u + 2u);
  EXPECT_EQ(vertices(e[0]), (std::vector<XY>{{100.5, 0}, {100.5, kCanvasHeight}}));
  const auto row = [&](int i) { return vertices(e[1 + i]); };
  EXPECT_EQ(row(0)[1], (XY{100, 0}));  // zero width
  EXPECT_EQ(row(12)[0], (XY{100, 300}));
  EXPECT_EQ(row(12)[1], (XY{380, 300}));
  EXPECT_EQ(row(12)[2].y, 325);
  EXPECT_NEAR(row(23)[1].x - 100, 280.0 / 12, 0.01);
  EXPECT_EQ(e[1].at("fill"), "rgba(33,150,243,0.4980392156862745)");
  const SvgElement& poc = e[25];
  EXPECT_EQ(poc.at("stroke"), "#ffeb3b");
  EXPECT_EQ(poc.at("stroke-width"), "2.00");
  EXPECT_EQ(vertices(poc), (std::vector<XY>{{100.5, 300.5}, {380.5, 300.5}}));
  EXPECT_EQ(e[26].at("fill"), "#2196f3");
  EXPECT_EQ(draw(*profile, 2.0).at(25).at("stroke-width"), "4.00");

  profile->rows = 0;
  profile->show_poc = false;
  EXPECT_EQ(draw(*profile).size(), 2u);
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
