// Info line and trend angle: captions, caption box, angle, arc and label placement read from the SVG.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "primitives/catalog/lines/info_line.hpp"
#include "primitives/catalog/lines/trend_angle.hpp"
#include "tool_support.hpp"

namespace qc::primitives::catalog {
namespace {

using namespace testing;

TEST(InfoLine, CaptionFromTheOptions) {
  struct Case {
    Point a, b;
    bool diff, percent, bars;
    const char* caption;
  };
  const Case cases[] = {
      {{0, 100}, {10, 104}, true, true, true, "+4.00 (+4.00%) 10 bars"},
      {{10, 104}, {0, 100}, true, true, true, "-4.00 (-3.85%) -10 bars"},
      {{0, 100}, {2.5, 100}, false, false, true, "3 bars"},
      {{2.5, 100}, {0, 100}, false, false, true, "-3 bars"},
      {{0, 0}, {1, 5}, false, true, false, "(+0.00%)"},
      {{0, -5}, {0, -5}, true, true, false, "+0.00 (+0.00%)"},  // no "+-0.00" from 0 / -5
      {{0, 0.0003}, {10, 0.00033}, true, true, true, "+0.0000300 (+10.00%) 10 bars"},  // level 0.00033: 7 places
      {{0, 1}, {1e30, 2}, false, false, true, "9223372036854775807 bars"},
      {{0, 1}, {1, 2}, false, false, false, ""},
  };
  for (const Case& c : cases) {
    auto line = make<InfoLine>({c.a, c.b});
    line->show_price_diff = c.diff;
    line->show_percent = c.percent;
    line->show_bars = c.bars;
    EXPECT_EQ(line->caption(), c.caption);
  }
}

TEST(InfoLine, BoxCentredOnTheMidpoint) {
  auto line = make<InfoLine>({{0, 100}, {10, 104}}, "#ff0000");  // (5, 200) to (105, 192)
  const auto e = draw(*line);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(vertices(e[0]), (std::vector<XY>{{5.5, 200.5}, {105.5, 192.5}}));
  const std::string caption = "+4.00 (+4.00%) 10 bars";
  const double w = static_cast<double>(caption.size()) * 12 * 0.6 + 12;
  EXPECT_EQ(e[1].tag, "rect");
  EXPECT_DOUBLE_EQ(e[1].number("width"), w);
  EXPECT_DOUBLE_EQ(e[1].number("height"), 20);
  EXPECT_NEAR(e[1].number("x") + w / 2, 55, 0.01);
  EXPECT_DOUBLE_EQ(e[1].number("y"), 196 - 10);
  EXPECT_EQ(e[2].tag, "text");
  EXPECT_EQ(e[2].content, caption);
  EXPECT_EQ(e[2].at("fill"), "#ff0000");
  EXPECT_DOUBLE_EQ(e[2].number("x"), 55);
  EXPECT_DOUBLE_EQ(e[2].number("y"), 196);

  line->show_price_diff = line->show_percent = line->show_bars = false;
  EXPECT_EQ(draw(*line).size(), 1u);
}

TEST(TrendAngle, FortyFiveDegrees) {
  auto angle = make<TrendAngle>({{0, 100}, {10, 150}});  // (5, 200) to (105, 100)
  const auto e = draw(*angle);
  ASSERT_EQ(e.size(), 4u);
  const double r = 0.3 * std::hypot(100.0, 100.0);
  // The dashed reference runs 1.5 radii to the right of the first anchor, unsnapped.
  EXPECT_EQ(e[1].at("stroke-dasharray"), "4.00,4.00");
  const auto reference = vertices(e[1]);
  ASSERT_EQ(reference.size(), 2u);
  EXPECT_NEAR(reference[1].x, 5 + 1.5 * r, 0.01);
  EXPECT_EQ(reference[1].y, 200);
  // The arc starts on the segment's direction and ends on the reference.
  EXPECT_FALSE(e[2].has("stroke-dasharray"));
  const auto arc = parse_path(e[2].at("d"));
  ASSERT_EQ(arc.size(), 2u);
  EXPECT_NEAR(arc[0].args[0], 5 + r * std::cos(std::numbers::pi / 4), 0.01);
  EXPECT_NEAR(arc[0].args[1], 200 - r * std::sin(std::numbers::pi / 4), 0.01);
  EXPECT_NEAR(arc[1].args.back(), 200, 0.01);
  EXPECT_NEAR(arc[1].args[arc[1].args.size() - 2], 5 + r, 0.01);
  // The label sits below the horizontal, opposite the arc.
  EXPECT_EQ(e[3].content, "45.0\u00B0");
  EXPECT_NEAR(e[3].number("x"), 5 + 40 * std::cos(std::numbers::pi / 8), 0.01);
  EXPECT_NEAR(e[3].number("y"), 200 + 40 * std::sin(std::numbers::pi / 8), 0.01);
}

TEST(TrendAngle, LabelsByDirection) {
  struct Case {
    Point a, b;
    const char* label;
  };
  const Case cases[] = {
      {{5, 50}, {5, 80}, "90.0\u00B0"},
      {{5, 50}, {5, 20}, "-90.0\u00B0"},
      {{5, 50}, {5, 50}, "90.0\u00B0"},
      {{10, 50}, {0, 50}, "0.0\u00B0"},    // flat, drawn right to left
      {{10, 50}, {0, 100}, "-45.0\u00B0"},  // right to left reads as left to right
  };
  for (const Case& c : cases) {
    const auto e = draw(*make<TrendAngle>({c.a, c.b}));
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[3].content, c.label);
  }
  auto bare = make<TrendAngle>({{0, 100}, {10, 150}});
  bare->data_mut().style = LineStyle::Dotted;
  bare->show_arc = bare->show_label = false;
  const auto e = draw_with_probe(*bare);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].at("stroke-dasharray"), "2.00,2.00");
  EXPECT_FALSE(e[1].has("stroke-dasharray"));
}

TEST(MeasuringLines, AnchorsLabelsAndJson) {
  auto info = make<InfoLine>({{3, 4}});
  EXPECT_EQ(info->points(), (std::vector<Point>{{3, 4}, {3, 4}}));
  const std::vector<Point> one = {{9, 9}};
  info->set_points(one);
  EXPECT_EQ(info->points(), (std::vector<Point>{{3, 4}, {3, 4}}));
  EXPECT_TRUE(info->to_json().ends_with(
      R"("bar1":3.0,"price1":4.0,"bar2":3.0,"price2":4.0,"show_price_diff":true,"show_percent":true,"show_bars":true})"));
  auto angle = make<TrendAngle>({{1, 2}, {3, 4}, {5, 6}});
  angle->translate(1, -1);
  EXPECT_TRUE(angle->to_json().ends_with(
      R"("bar1":2.0,"price1":1.0,"bar2":4.0,"price2":3.0,"show_arc":true,"show_label":true})"));
  // Labels follow the line: Center sits on the midpoint.
  testing::Canvas canvas;
  set_label(*angle, PrimitiveTextAlign::Center, PrimitiveTextAlign::Center);
  const auto a = angle->text_anchor(canvas.ctx);
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->x, (x_of(2) + x_of(4)) / 2);
  EXPECT_DOUBLE_EQ(a->y, (y_of(1) + y_of(3)) / 2);
}

}  // namespace
}  // namespace qc::primitives::catalog
