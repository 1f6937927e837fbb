// The cycle tools: how many lines and ellipses they draw where, their own dashes, anchors, JSON and labels.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "primitives/catalog/cycles/cycle_lines.hpp"
#include "primitives/catalog/cycles/time_cycles.hpp"
#include "catalog_support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::make;
using testing::parse_path;
using Points = std::vector<Point>;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.

std::vector<double> line_xs(const std::vector<testing::SvgElement>& elements) {
  std::vector<double> xs;
  for (const auto& e : elements) {
    const auto steps = parse_path(e.at("d"));
    EXPECT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].args[0], steps[1].args[0]);  // vertical
    EXPECT_EQ(steps[1].args[1], 600.5);             // the full canvas height
    xs.push_back(steps[0].args[0]);
  }
  return xs;
}

TEST(CycleLines, RepeatsTheAnchorDistance) {
  struct Case {
    bool left, right;
    std::uint8_t count;
    std::size_t lines;
    double first_x;
  };
  const Case cases[] = {
      {true, true, 10, 30, 25.5 - 10 * 40},  // anchors 2 and 6: x 25 and 65, spacing 40
      {false, true, 10, 20, 25.5},
      {false, false, 3, 3, 25.5},
      {false, false, 1, 1, 25.5},  // the second anchor's line needs a count of two
      {true, true, 0, 0, 0},
  };
  for (const Case& c : cases) {
    auto cycles = make<CycleLines>({{6, 1}, {2, 9}});
    cycles->extend_left = c.left;
    cycles->extend_right = c.right;
    cycles->count = c.count;
    const auto xs = line_xs(draw(*cycles));
    ASSERT_EQ(xs.size(), c.lines) << int(c.count);
    if (xs.empty()) continue;
    EXPECT_EQ(xs.front(), c.first_x);
    for (std::size_t i = 1; i < xs.size(); ++i) EXPECT_EQ(xs[i] - xs[i - 1], 40);
  }
}

TEST(CycleLines, CloseAnchorsDrawNothingAndDashesAreTheirOwn) {
  EXPECT_TRUE(draw(*make<CycleLines>({{3, 0}, {3.005, 0}})).empty());
  auto cycles = make<CycleLines>({{2, 0}, {6, 0}});
  cycles->data_mut().style = LineStyle::Dotted;
  EXPECT_EQ(draw(*cycles).at(0).at("stroke-dasharray"), "2.00,3.00");
  cycles->data_mut().style = LineStyle::Dashed;
  EXPECT_EQ(draw(*cycles).at(0).at("stroke-dasharray"), "5.00,5.00");
  EXPECT_EQ(draw(*cycles).at(0).at("stroke-width"), "1.00");
}

TEST(CycleLines, BarAnchorsOnly) {
  auto cycles = make<CycleLines>({{7, 123}});
  EXPECT_EQ(cycles->points(), (Points{{7, 0}, {27, 0}}));
  cycles->translate(1, 50);
  EXPECT_EQ(cycles->points(), (Points{{8, 0}, {28, 0}}));
  cycles->set_points(Points{{2, 9}});
  EXPECT_EQ(cycles->points(), (Points{{2, 0}, {28, 0}}));
  EXPECT_TRUE(cycles->to_json().ends_with(
      R"("bar1":2.0,"bar2":28.0,"count":10,"extend_left":true,"extend_right":true})"));

  testing::Canvas canvas;
  PrimitiveText text = PrimitiveText::make("c");
  text.h_align = PrimitiveTextAlign::End;
  text.v_align = PrimitiveTextAlign::End;
  cycles->data_mut().text = text;
  const auto a = cycles->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 285 - 10);
  EXPECT_DOUBLE_EQ(a->y, 600 - 17);
}

TEST(TimeCycles, ConcentricEllipsesThenDashedCentreLine) {
  auto cycles = make<TimeCycles>({{10, 100}, {12, 105}});  // centre (105, 200), radii 20 and 10 px
  const auto e = draw(*cycles);
  ASSERT_EQ(e.size(), 6u);
  for (std::size_t i = 0; i < 5; ++i) {
    const auto steps = parse_path(e[i].at("d"));
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[0].args, (std::vector<double>{105.5 - 20.0 * double(i + 1), 200.5}));
    EXPECT_EQ(steps[1].args[5], 200.5 - 10.0 * double(i + 1));
    EXPECT_FALSE(e[i].has("stroke-dasharray"));
  }
  EXPECT_EQ(e[5].at("d"), "M105.50 0.50 L105.50 600.50");
  EXPECT_EQ(e[5].at("stroke-dasharray"), "3.00,3.00");

  cycles->count = 0;
  ASSERT_EQ(draw(*cycles).size(), 1u);  // the centre line alone
  EXPECT_TRUE(draw(*make<TimeCycles>({{10, 100}, {10.001, 100.01}})).empty());
}

TEST(TimeCycles, AnchorsJsonAndLabel) {
  auto cycles = make<TimeCycles>({});
  EXPECT_EQ(cycles->points(), (Points{{0, 100}, {20, 105}}));
  cycles->set_points(Points{{10, 100}, {8, 90}});
  EXPECT_EQ(cycles->points(), (Points{{10, 100}, {12, 110}}));
  cycles->translate(1, 1);
  EXPECT_EQ(cycles->points(), (Points{{11, 101}, {13, 111}}));
  EXPECT_TRUE(cycles->to_json().ends_with(
      R"("bar":11.0,"price":101.0,"radius_bars":2.0,"radius_price":10.0,"count":5})"));

  testing::Canvas canvas;
  auto labelled = make<TimeCycles>({{10, 100}, {12, 105}});
  PrimitiveText text = PrimitiveText::make("c");
  text.h_align = PrimitiveTextAlign::Start;
  labelled->data_mut().text = text;
  const auto a = labelled->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 105 - 5 * 20 + 10);  // inside the outermost ellipse
  EXPECT_DOUBLE_EQ(a->y, 200 - 5 * 10 + 17);
}

}  // namespace
}  // namespace qc::primitives::catalog
