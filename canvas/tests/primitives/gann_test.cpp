// The Gann tools: factories, the box, square and fan geometry read from the SVG, JSON records and labels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "primitives/catalog/gann/gann_box.hpp"
#include "primitives/catalog/gann/gann_fan.hpp"
#include "primitives/catalog/gann/gann_square.hpp"
#include "primitives/catalog/gann/gann_square_fixed.hpp"
#include "catalog_support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::make;
using testing::paths;
using testing::parse_path;
using testing::SvgElement;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.
// Corners (2, 150) and (10, 100): the pixel box 25..105 by 100..200.
const std::vector<Point> kCorners = {{2, 150}, {10, 100}};
const char* const kFrame = "M25.50 100.50 L105.50 100.50 L105.50 200.50 L25.50 200.50 Z";
const char* const kDiagonals[] = {"M25.50 100.50 L105.50 200.50", "M25.50 200.50 L105.50 100.50"};

TEST(GannBox, FrameGridThenDiagonals) {
  auto box = make<GannBox>(kCorners);
  EXPECT_EQ(paths(draw(*box)), (std::vector<std::string>{kFrame, "M45.50 100.50 L45.50 200.50",
                                                         "M25.50 125.50 L105.50 125.50", "M65.50 100.50 L65.50 200.50",
                                                         "M25.50 150.50 L105.50 150.50", "M85.50 100.50 L85.50 200.50",
                                                         "M25.50 175.50 L105.50 175.50", kDiagonals[0], kDiagonals[1]}));
  const std::vector<std::string> bare = {kFrame, kDiagonals[0], kDiagonals[1]};
  for (std::uint8_t divisions : {std::uint8_t{0}, std::uint8_t{1}}) {
    box->divisions = divisions;
    EXPECT_EQ(paths(draw(*box)), bare) << int{divisions};
  }
  box->divisions = 4;
  box->show_grid = false;
  EXPECT_EQ(paths(draw(*box)), bare);
  // The corners in the other order draw the same box.
  EXPECT_EQ(paths(draw(*make<GannBox>({kCorners[1], kCorners[0]}))), paths(draw(*make<GannBox>(kCorners))));
}

TEST(GannSquare, OutlineInnerBoxesCrossAndDiagonals) {
  auto square = make<GannSquare>(kCorners);  // centre (65, 150)
  const auto e = draw(*square);
  ASSERT_EQ(e.size(), 7u);
  EXPECT_EQ(e[0].at("d"), kFrame);
  // Inner boxes at a third and two thirds of the half-size, centred, the smallest first.
  for (int i = 1; i <= 2; ++i) {
    const auto steps = parse_path(e[static_cast<std::size_t>(i)].at("d"));
    ASSERT_EQ(steps.size(), 5u);
    const double w = steps[1].args[0] - steps[0].args[0];
    const double h = steps[2].args[1] - steps[1].args[1];
    EXPECT_NEAR(w, 80.0 * i / 3, 0.01);
    EXPECT_NEAR(h, 100.0 * i / 3, 0.01);
    EXPECT_NEAR(steps[0].args[0] + w / 2, 65.5, 0.5);
    EXPECT_NEAR(steps[0].args[1] + h / 2, 150.5, 0.5);
  }
  EXPECT_EQ(e[3].at("d"), "M25.50 150.50 L105.50 150.50");
  EXPECT_EQ(e[4].at("d"), "M65.50 100.50 L65.50 200.50");
  EXPECT_EQ(e[5].at("d"), kDiagonals[0]);
  EXPECT_EQ(e[6].at("d"), kDiagonals[1]);

  square->levels = 4;
  EXPECT_EQ(draw(*square).size(), 8u);
  square->levels = 1;
  square->show_cardinal = false;
  square->show_ordinal = false;
  EXPECT_EQ(paths(draw(*square)), std::vector<std::string>{kFrame});
  EXPECT_EQ(paths(draw(*make<GannSquare>({kCorners[1], kCorners[0]}))), paths(draw(*make<GannSquare>(kCorners))));
}

TEST(GannSquareFixed, CentreAndSizes) {
  auto square = make<GannSquareFixed>({{10, 100}, {20, 105}});  // sizes 20 by 10 about (105, 200)
  EXPECT_EQ(paths(draw(*square)), (std::vector<std::string>{
                                      "M5.50 190.50 L205.50 190.50 L205.50 210.50 L5.50 210.50 Z",
                                      "M5.50 190.50 L205.50 210.50",
                                      "M205.50 190.50 L5.50 210.50",
                                      "M5.50 200.50 L205.50 200.50",
                                      "M105.50 190.50 L105.50 210.50",
                                  }));
  auto point = make<GannSquareFixed>({{10, 100}, {10, 100}});
  EXPECT_EQ(point->bar_size, 1.0);
  EXPECT_EQ(point->price_size, 1.0);
  point->translate(2, 3);
  EXPECT_EQ(point->points(), (std::vector<Point>{{12, 103}, {12.5, 103.5}}));
  const std::vector<Point> corner = {{0, 0}, {-4, std::nan("")}};
  point->set_points(corner);
  EXPECT_EQ(point->bar_size, 8.0);
  EXPECT_EQ(point->price_size, 1.0);
  EXPECT_EQ(make<GannSquareFixed>({})->points(), (std::vector<Point>{{0, 100}, {10, 105}}));
}

TEST(GannFan, LinesAtMultiplesOfTheAnchorSlope) {
  // Origin (5, 200); the anchors rise 10 per 10 bars, so 1x1 aims at price 200 at bar 100 (1005, 0).
  auto fan = make<GannFan>({{0, 100}, {10, 110}});
  fan->extend = false;
  auto e = draw(*fan);
  ASSERT_EQ(e.size(), kGannAngles.size());
  for (std::size_t i = 0; i < e.size(); ++i) {
    const double y = 400 - 2 * (100 + kGannAngles[i].multiple * 100);
    EXPECT_EQ(parse_path(e[i].at("d"))[0].args, (std::vector<double>{5.5, 200.5})) << kGannAngles[i].name;
    const auto end = parse_path(e[i].at("d"))[1].args;
    EXPECT_EQ(end[0], 1005.5) << kGannAngles[i].name;
    EXPECT_NEAR(end[1], y + 0.5, 0.51) << kGannAngles[i].name;
  }
  EXPECT_EQ(e[4].at("d"), "M5.50 200.50 L1005.50 0.50");  // through anchor 2 at (105, 180)

  fan->upward = false;  // mirrored about y = 200
  EXPECT_EQ(draw(*fan)[4].at("d"), "M5.50 200.50 L1005.50 400.50");

  auto same_bar = make<GannFan>({{0, 100}, {0, 50}});  // no slope to take: 100 per 100 bars
  same_bar->extend = false;
  EXPECT_EQ(draw(*same_bar)[4].at("d"), "M5.50 200.50 L1005.50 0.50");

  fan->upward = true;
  fan->extend = true;
  e = draw(*fan);
  const auto steps = parse_path(e[4].at("d"));
  EXPECT_NEAR(std::hypot(steps[1].args[0] - 5.5, steps[1].args[1] - 200.5), 2 * (800 + 600), 1.0);
  EXPECT_NEAR((steps[1].args[1] - 200) / (steps[1].args[0] - 5), -200.0 / 1000.0, 1e-3);
}

TEST(GannFan, ExtremeFiniteAnchorsDrawNoInfinityOrNaN) {
  // A finite price move over a vanishing bar distance overflows the slope; anchors at the ends of the
  // double range overflow both differences.
  const std::vector<Point> cases[] = {{{0, 100}, {1e-300, 1e10}}, {{-1e308, -1e308}, {1e308, 1e308}}};
  for (const auto& points : cases) {
    auto fan = make<GannFan>(points);
    for (bool extend : {true, false}) {
      fan->extend = extend;
      testing::Canvas canvas;
      fan->render(canvas.ctx, false);
      const std::string body(canvas.backend.body());
      EXPECT_EQ(body.find("inf"), std::string::npos) << body;
      EXPECT_EQ(body.find("NaN"), std::string::npos) << body;
      EXPECT_EQ(canvas.elements().size(), kGannAngles.size());
    }
  }
  auto steep = make<GannFan>({{0, 100}, {1e-300, 1e10}});
  EXPECT_EQ(draw(*steep)[0].at("d"), "M5.50 200.50 L5.50 -2599.50");  // straight up for the whole reach
}

TEST(Gann, FactoriesAndJsonRecords) {
  struct Case {
    std::unique_ptr<Primitive> tool;
    std::vector<Point> points;
    const char* tail;
  };
  Case cases[] = {
      {make<GannBox>({{3, 50}}), {{3, 50}, {23, 40}}, nullptr},
      {make<GannSquare>({{3, 50}}), {{3, 50}, {23, 30}}, nullptr},
      {make<GannFan>({{3, 50}}), {{3, 50}, {23, 70}}, nullptr},
      {make<GannBox>({}), {{0, 0}, {20, -10}},
       R"("bar1":0.0,"price1":0.0,"bar2":20.0,"price2":-10.0,"show_labels":true,"show_grid":true,"divisions":4})"},
      {make<GannSquare>({}), {{0, 0}, {20, -20}},
       R"("bar1":0.0,"price1":0.0,"bar2":20.0,"price2":-20.0,"show_labels":true,"show_cardinal":true,)"
       R"("show_ordinal":true,"levels":3})"},
      {make<GannFan>({}), {{0, 0}, {20, 20}},
       R"("bar1":0.0,"price1":0.0,"bar2":20.0,"price2":20.0,"show_labels":true,"extend":true,"upward":true})"},
      {make<GannSquareFixed>({}), {{0, 100}, {10, 105}},
       R"("center_bar":0.0,"center_price":100.0,"bar_size":20.0,"price_size":10.0,"show_labels":true,)"
       R"("show_numbers":false})"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.tool->points(), c.points) << c.tool->type_id();
    EXPECT_EQ(c.tool->data().width, 1.0);
    EXPECT_FALSE(c.tool->level_configs());
    if (c.tail) {
      EXPECT_TRUE(c.tool->to_json().ends_with(std::string("},") + c.tail)) << c.tool->to_json();
    }
  }
}

TEST(Gann, Labels) {
  testing::Canvas canvas;
  auto text = [](PrimitiveTextAlign h, PrimitiveTextAlign v) {
    PrimitiveText t = PrimitiveText::make("gann");
    t.h_align = h;
    t.v_align = v;
    return t;
  };
  using A = PrimitiveTextAlign;
  auto box = make<GannBox>(kCorners);
  EXPECT_FALSE(box->text_anchor(canvas.ctx));
  box->data_mut().text = text(A::Start, A::Start);
  auto a = box->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 35);
  EXPECT_DOUBLE_EQ(a->y, 117);
  auto square = make<GannSquare>({kCorners[1], kCorners[0]});
  square->data_mut().text = text(A::End, A::End);
  a = square->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 95);
  EXPECT_DOUBLE_EQ(a->y, 183);
  auto fixed = make<GannSquareFixed>({{10, 100}, {20, 105}});
  fixed->data_mut().text = text(A::Center, A::Center);
  a = fixed->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 105);
  EXPECT_DOUBLE_EQ(a->y, 200);

  auto fan = make<GannFan>({{0, 100}, {10, 110}});  // (5, 200) to (105, 180)
  fan->data_mut().text = text(A::End, A::Center);
  a = fan->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 85);
  EXPECT_DOUBLE_EQ(a->y, 184);
  EXPECT_NEAR(a->rotation, std::atan2(-20.0, 100.0), 1e-12);
  EXPECT_EQ(a->color, "#2196F3");
}

}  // namespace
}  // namespace qc::primitives::catalog
