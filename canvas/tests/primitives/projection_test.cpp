// Forecast, bars pattern, price projection and projection: their lines read back from the SVG.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "primitives/catalog/projection/bars_pattern.hpp"
#include "primitives/catalog/projection/forecast.hpp"
#include "primitives/catalog/projection/general.hpp"
#include "primitives/catalog/projection/price_projection.hpp"
#include "tool_support.hpp"

namespace qc::primitives::catalog {
namespace {

using namespace testing;

TEST(Forecast, CarriedToTheRightEdgeOnTheLine) {
  struct Case {
    Point a, b;
  };
  const Case cases[] = {{{0, 100}, {10, 110}}, {{30, 100}, {20, 90}}};  // rightwards, and P2 left of P1
  for (const Case& c : cases) {
    const auto e = draw(*make<Forecast>({c.a, c.b}));
    ASSERT_EQ(e.size(), 1u);
    const auto v = vertices(e[0]);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0], (XY{x_of(c.a.bar) + 0.5, y_of(c.a.price) + 0.5}));
    EXPECT_EQ(v[1].x, kCanvasWidth + 0.5);
    const double slope = (y_of(c.b.price) - y_of(c.a.price)) / (x_of(c.b.bar) - x_of(c.a.bar));
    EXPECT_NEAR(v[1].y, y_of(c.a.price) + slope * (kCanvasWidth - x_of(c.a.bar)), 1.0);
  }
  // One pixel column: the end stands at P2's height.
  const auto v = vertices(draw(*make<Forecast>({{0, 100}, {0, 110}})).at(0));
  EXPECT_EQ(v[1], (XY{kCanvasWidth + 0.5, y_of(110) + 0.5}));
}

TEST(Forecast, LabelInTheBoxOfItsPoints) {
  Canvas canvas;
  auto forecast = make<Forecast>({{20, 50}, {0, 100}});  // x 5..205, y 200..300
  set_label(*forecast, PrimitiveTextAlign::Start, PrimitiveTextAlign::End);
  const auto a = forecast->text_anchor(canvas.ctx);
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->x, 15);
  EXPECT_DOUBLE_EQ(a->y, 300 - 10 - 7);
  EXPECT_FALSE(make<BarsPattern>({})->text_anchor(canvas.ctx));
}

TEST(BarsPattern, TargetTakesTheSourceSpan) {
  auto pattern = make<BarsPattern>({{20, 1}, {10, 2}, {30, 3}});  // source drawn right to left: 100 px
  const auto e = draw(*pattern);
  ASSERT_EQ(e.size(), 6u);
  const double xs[] = {x_of(20), x_of(10), x_of(30), x_of(30) + 100};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(vertices(e[i]), (std::vector<XY>{{xs[i] + 0.5, 0}, {xs[i] + 0.5, kCanvasHeight}})) << i;
    EXPECT_FALSE(e[i].has("stroke-dasharray"));
  }
  for (int i : {4, 5}) {
    EXPECT_EQ(e[i].at("stroke-dasharray"), "4.00,4.00");
    const double y = kCanvasHeight / 2 + (i == 4 ? -20 : 20) + 0.5;
    EXPECT_EQ(vertices(e[i]), (std::vector<XY>{{x_of(10) + 0.5, y}, {x_of(30) + 0.5, y}}));
  }
  EXPECT_EQ(e[0].at("stroke-width"), "1.00");
}

TEST(PriceProjection, RepeatsTheMoveFromTheThirdPoint) {
  auto projection = make<PriceProjection>({{0, 100}, {10, 110}, {20, 105}});
  const auto e = draw(*projection);
  ASSERT_EQ(e.size(), 6u);
  const double x3 = x_of(20) + 0.5;
  const double y3 = y_of(105) + 0.5;
  const double yp = y_of(115) + 0.5;
  EXPECT_EQ(e[1].at("stroke-dasharray"), "4.00,4.00");
  EXPECT_EQ(vertices(e[1]), (std::vector<XY>{{x3, y3}, {x3, yp}}));
  EXPECT_EQ(vertices(e[4]), (std::vector<XY>{{x3, y3}, {x3 + 50, y3}}));
  EXPECT_EQ(vertices(e[5]), (std::vector<XY>{{x3, yp}, {x3 + 50, yp}}));
  for (int i = 2; i < 6; ++i) {
    EXPECT_EQ(e[i].at("stroke-width"), "1.00");
    EXPECT_FALSE(e[i].has("stroke-dasharray"));
  }
}

TEST(Projection, TenRatioLevelsFromTheSecondPoint) {
  auto projection = make<Projection>({{0, 100}, {20, 150}});  // the move is 50 price units
  const auto e = draw(*projection);
  ASSERT_EQ(e.size(), 11u);
  const double ratios[] = {0, 0.236, 0.382, 0.5, 0.618, 0.786, 1, 1.272, 1.618, 2};
  for (int i = 0; i < 10; ++i) {
    const auto v = vertices(e[i + 1]);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].x, x_of(20) + 0.5);
    EXPECT_EQ(v[1].x, kCanvasWidth + 0.5);
    EXPECT_NEAR(v[0].y, y_of(100 + ratios[i] * 50), 1.0) << ratios[i];
    EXPECT_EQ(e[i + 1].at("stroke-dasharray"), "4.00,2.00");
  }
  projection->show_levels = false;
  projection->show_labels = false;
  EXPECT_EQ(draw(*projection).size(), 1u);
}

TEST(Projections, FactoriesAnchorsAndJson) {
  EXPECT_EQ(make<Forecast>({})->points(), (std::vector<Point>{{0, 100}, {20, 110}}));
  EXPECT_EQ(make<Projection>({{5, 5}})->points(), (std::vector<Point>{{5, 5}, {25, 15}}));
  EXPECT_EQ(make<PriceProjection>({})->points(), (std::vector<Point>{{0, 100}, {10, 105}, {20, 110}}));
  EXPECT_EQ(make<PriceProjection>({{1, 1}, {2, 2}})->points(), (std::vector<Point>{{1, 1}, {2, 2}, {12, 7}}));
  EXPECT_EQ(make<BarsPattern>({})->points(), (std::vector<Point>{{0, 0}, {20, 0}, {30, 0}}));
  auto pattern = make<BarsPattern>({{4, 9}});
  EXPECT_EQ(pattern->points(), (std::vector<Point>{{4, 0}, {24, 0}, {34, 0}}));
  const std::vector<Point> one = {{1, 77}};
  pattern->set_points(one);
  pattern->translate(1, 2.5);
  EXPECT_TRUE(pattern->to_json().ends_with(
      R"("source_bar1":2.0,"source_bar2":25.0,"target_bar":35.0,"price_offset":2.5,"mirror":false})"));
  EXPECT_EQ(pattern->data().width, 1.0);
  EXPECT_TRUE(make<Forecast>({})->to_json().ends_with(
      R"("bar1":0.0,"price1":100.0,"bar2":20.0,"price2":110.0,"show_percentage":true,"show_price":true})"));
  EXPECT_TRUE(make<PriceProjection>({})->to_json().ends_with(
      R"("bar3":20.0,"price3":110.0,"show_percentage":true})"));
  EXPECT_TRUE(make<Projection>({})->to_json().ends_with(R"("price2":110.0,"show_labels":true,"show_levels":true})"));
}

}  // namespace
}  // namespace qc::primitives::catalog
