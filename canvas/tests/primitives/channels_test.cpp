// The channel tools: factories and anchor rules, bands and lines read from the SVG, names, JSON and labels.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "primitives/catalog/channels/disjoint_channel.hpp"
#include "primitives/catalog/channels/flat_top_bottom.hpp"
#include "primitives/catalog/channels/parallel_channel.hpp"
#include "primitives/catalog/channels/regression_trend.hpp"
#include "catalog_support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::make;
using testing::paths;
using testing::SvgElement;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.
const char* const kBandFill = "rgba(33,150,243,0.2)";  // #2196F3 at opacity 0.2

TEST(ParallelChannel, FactoryAndAnchorRules) {
  EXPECT_EQ(make<ParallelChannel>({})->points(), (std::vector<Point>{{0, 0}, {10, 0}, {0, 0}}));
  EXPECT_EQ(make<ParallelChannel>({{5, 200}})->points(), (std::vector<Point>{{5, 200}, {15, 200}, {5, 210}}));
  EXPECT_EQ(make<ParallelChannel>({{5, 200}, {9, 100}})->channel_offset, 10);
  auto ch = make<ParallelChannel>({{0, 100}, {10, 110}, {3, 120}, {4, 4}});
  EXPECT_EQ(ch->points(), (std::vector<Point>{{0, 100}, {10, 110}, {0, 120}}));
  const std::vector<Point> one = {{1, 1}};
  const std::vector<Point> two = {{1, 50}, {2, 60}};
  const std::vector<Point> three = {{1, 50}, {2, 60}, {9, 40}};
  ch->set_points(one);
  EXPECT_EQ(ch->points(), (std::vector<Point>{{0, 100}, {10, 110}, {0, 120}}));
  ch->set_points(two);
  EXPECT_EQ(ch->channel_offset, 20);
  ch->set_points(three);
  EXPECT_EQ(ch->points(), (std::vector<Point>{{1, 50}, {2, 60}, {1, 40}}));  // offset from the new first price
  ch->translate(1, 5);
  EXPECT_EQ(ch->points(), (std::vector<Point>{{2, 55}, {3, 65}, {2, 45}}));
}

TEST(ParallelChannel, BandThenBothLines) {
  auto ch = make<ParallelChannel>({{0, 50}, {10, 60}, {0, 70}});  // offset 20
  auto e = draw(*ch);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].at("d"), "M5.00 300.00 L105.00 280.00 L105.00 240.00 L5.00 260.00 Z");
  EXPECT_EQ(e[0].at("fill"), kBandFill);
  EXPECT_EQ(e[1].at("d"), "M5.50 300.50 L105.50 280.50");
  EXPECT_EQ(e[2].at("d"), "M5.50 260.50 L105.50 240.50");
  EXPECT_EQ(e[2].at("stroke-width"), "2.00");
  ch->channel_offset = -20;  // below the base line, still filled between them
  EXPECT_EQ(draw(*ch)[0].at("d"), "M5.00 300.00 L105.00 280.00 L105.00 320.00 L5.00 340.00 Z");
  ch->fill = false;
  e = draw(*ch);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[1].at("d"), "M5.50 340.50 L105.50 320.50");
}

TEST(DisjointChannel, FactoryAndAnchorRules) {
  using V = std::vector<Point>;
  EXPECT_EQ(make<DisjointChannel>({})->points(), (V{{0, 100}, {20, 105}, {0, 105}, {20, 110}}));
  EXPECT_EQ(make<DisjointChannel>({{5, 200}})->points(), (V{{5, 200}, {25, 210}, {5, 210}, {25, 220}}));
  EXPECT_EQ(make<DisjointChannel>({{5, 200}, {8, 100}})->points(), (V{{5, 200}, {8, 100}, {5, 210}, {8, 110}}));
  const V three = {{0, 100}, {10, 110}, {3, 120}};
  auto ch = make<DisjointChannel>(three);  // the factory shifts line 1; set_points starts line 2 at point 3
  EXPECT_EQ(ch->points(), (V{{0, 100}, {10, 110}, {0, 120}, {10, 130}}));
  ch->set_points(three);
  EXPECT_EQ(ch->points(), (V{{0, 100}, {10, 110}, {3, 120}, {10, 130}}));
  const V five = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}};
  EXPECT_EQ(make<DisjointChannel>(five)->points(), (V{{1, 1}, {2, 2}, {3, 3}, {4, 4}}));
  ch->set_points({});
  ch->translate(-1, 1);
  EXPECT_EQ(ch->points(), (V{{-1, 101}, {9, 111}, {2, 121}, {9, 131}}));
}

TEST(DisjointChannel, BandRunsAroundBothLines) {
  auto ch = make<DisjointChannel>({{0, 50}, {10, 60}, {2, 80}, {8, 70}});
  const auto e = draw(*ch);
  EXPECT_EQ(paths(e), (std::vector<std::string>{"M5.00 300.00 L105.00 280.00 L85.00 260.00 L25.00 240.00 Z",
                                                "M5.50 300.50 L105.50 280.50", "M25.50 240.50 L85.50 260.50"}));
  EXPECT_EQ(e[0].at("fill"), kBandFill);
}

TEST(RegressionTrend, BandWidthFromTheAnchorsPrices) {
  auto trend = make<RegressionTrend>({{0, 100}, {10, 110}});  // max(1.5, 2) = 2 either side
  auto e = draw(*trend);
  EXPECT_EQ(paths(e), (std::vector<std::string>{"M5.00 196.00 L105.00 176.00 L105.00 184.00 L5.00 204.00 Z",
                                                "M5.50 196.50 L105.50 176.50", "M5.50 204.50 L105.50 184.50",
                                                "M5.50 200.50 L105.50 180.50"}));
  EXPECT_EQ(e[0].at("fill"), kBandFill);
  EXPECT_FALSE(e[1].has("stroke-dasharray"));
  EXPECT_EQ(e[3].at("stroke-dasharray"), "4.00,4.00");

  struct Case {
    Point a, b;
    double mult, half_width;
  };
  const Case cases[] = {
      {{0, 100}, {10, 200}, 2.0, 15.0},  // 15 % of the move wins
      {{0, 100}, {10, 110}, 1.0, 1.0},   // the factor halves the band
      {{0, 100}, {10, 110}, 0.0, 0.0},
      {{0, 0}, {20, 0}, 2.0, 0.0},
      {{0, -100}, {10, -90}, 2.0, 1.5},  // a negative first price leaves the move's share
      {{0, -1e308}, {10, 1e308}, 0.0, 0.0},  // a move beyond the double range still gives a finite width
  };
  for (const Case& c : cases) {
    auto t = make<RegressionTrend>({c.a, c.b});
    t->std_dev_mult = c.mult;
    EXPECT_DOUBLE_EQ(t->half_width(), c.half_width) << c.a.price << " " << c.b.price << " x" << c.mult;
  }

  trend->show_center = false;
  trend->fill = false;
  testing::Canvas canvas;
  trend->render(canvas.ctx, false);
  canvas.ctx.begin_path();
  canvas.ctx.move_to(0, 0);
  canvas.ctx.line_to(1, 1);
  canvas.ctx.stroke();
  e = canvas.elements();
  ASSERT_EQ(e.size(), 3u);
  EXPECT_FALSE(e[2].has("stroke-dasharray"));  // the render leaves no dash behind
}

TEST(RegressionTrend, FactoryAndAnchorRules) {
  EXPECT_EQ(make<RegressionTrend>({})->points(), (std::vector<Point>{{0, 0}, {20, 0}}));
  auto trend = make<RegressionTrend>({{3, 7}});
  EXPECT_EQ(trend->points(), (std::vector<Point>{{3, 7}, {23, 7}}));
  const std::vector<Point> one = {{1, 1}};
  trend->set_points(one);
  EXPECT_EQ(trend->points(), (std::vector<Point>{{3, 7}, {23, 7}}));
}

TEST(FlatTopBottom, NamedForTheSideOfTheMiddle) {
  auto flat = make<FlatTopBottom>({});
  EXPECT_EQ(flat->points(), (std::vector<Point>{{0, 100}, {20, 105}, {0, 110}}));
  EXPECT_EQ(flat->display_name(), "Flat Top");
  EXPECT_EQ(make<FlatTopBottom>({{0, 100}})->points(), (std::vector<Point>{{0, 100}, {20, 1.05 * 100}, {0, 1.1 * 100}}));
  struct Case {
    std::vector<Point> points;
    FlatType type;
    const char* name;
  };
  const Case cases[] = {
      {{{0, 100}, {20, 110}, {5, 90}}, FlatType::Bottom, "Flat Bottom"},
      {{{0, 100}, {20, 110}, {5, 105}}, FlatType::Bottom, "Flat Bottom"},  // at the middle
      {{{0, 100}, {20, 110}, {5, 106}}, FlatType::Top, "Flat Top"},
      {{{0, 100}, {20, 80}}, FlatType::Top, "Flat Top"},  // 110 above 90
  };
  for (const Case& c : cases) {
    auto f = make<FlatTopBottom>(c.points);
    EXPECT_EQ(f->flat_type, c.type) << c.name;
    EXPECT_EQ(f->display_name(), c.name);
  }
  // Two points keep the name although the middle passed the flat line; a third derives it again.
  const std::vector<Point> two = {{0, 200}, {20, 220}};
  flat->set_points(two);
  EXPECT_EQ(flat->display_name(), "Flat Top");
  const std::vector<Point> three = {{0, 200}, {20, 220}, {3, 150}};
  flat->set_points(three);
  EXPECT_EQ(flat->flat_type, FlatType::Bottom);
  EXPECT_EQ(flat->display_name(), "Flat Bottom");
  EXPECT_EQ(flat->points(), (std::vector<Point>{{0, 200}, {20, 220}, {0, 150}}));
  flat->translate(1, 100);
  EXPECT_EQ(flat->points(), (std::vector<Point>{{1, 300}, {21, 320}, {1, 250}}));
  EXPECT_EQ(flat->display_name(), "Flat Bottom");
}

TEST(FlatTopBottom, RegionSlopedLineThenFlatLine) {
  auto flat = make<FlatTopBottom>({{0, 50}, {10, 60}, {4, 80}});
  const auto e = draw(*flat);
  EXPECT_EQ(paths(e), (std::vector<std::string>{"M5.00 300.00 L105.00 280.00 L105.00 240.00 L5.00 240.00 Z",
                                                "M5.50 300.50 L105.50 280.50", "M5.50 240.50 L105.50 240.50"}));
  EXPECT_EQ(e[0].at("fill"), kBandFill);
}

TEST(Channels, JsonRecords) {
  struct Case {
    std::unique_ptr<Primitive> tool;
    const char* name;
    const char* tail;
  };
  Case cases[] = {
      {make<ParallelChannel>({}), "Parallel Channel",
       R"("bar1":0.0,"price1":0.0,"bar2":10.0,"price2":0.0,"channel_offset":0.0,"extend_left":false,)"
       R"("extend_right":false,"fill":true,"fill_opacity":0.2})"},
      {make<DisjointChannel>({}), "Disjoint Channel",
       R"("line1_bar1":0.0,"line1_price1":100.0,"line1_bar2":20.0,"line1_price2":105.0,"line2_bar1":0.0,)"
       R"("line2_price1":105.0,"line2_bar2":20.0,"line2_price2":110.0,"fill":true,"fill_opacity":0.2,)"
       R"("extend_right":false})"},
      {make<RegressionTrend>({}), "Regression Trend",
       R"("bar1":0.0,"price1":0.0,"bar2":20.0,"price2":0.0,"std_dev_mult":2.0,"use_upper_deviation":false,)"
       R"("show_center":true,"fill":true,"fill_opacity":0.2,"extend_right":false})"},
      {make<FlatTopBottom>({{0, 100}, {20, 110}, {5, 90}}), "Flat Bottom",
       R"("bar1":0.0,"price1":100.0,"bar2":20.0,"price2":110.0,"flat_price":90.0,"flat_type":"Bottom",)"
       R"("fill":true,"fill_opacity":0.2})"},
  };
  for (const Case& c : cases) {
    const std::string json = c.tool->to_json();
    EXPECT_NE(json.find(std::string(R"("display_name":")") + c.name + R"(",)"), std::string::npos) << json;
    EXPECT_NE(json.find(R"("width":2.0,)"), std::string::npos) << json;
    EXPECT_TRUE(json.ends_with(std::string("},") + c.tail)) << json;
    EXPECT_FALSE(c.tool->level_configs());
    EXPECT_FALSE(c.tool->set_level_configs({FibLevelConfig::make(0.5)}));
  }
}

TEST(Channels, LabelsAlongTheReferenceLine) {
  testing::Canvas canvas;
  auto label = [](Primitive& p, PrimitiveTextAlign h, PrimitiveTextAlign v, const char* content = "ch") {
    PrimitiveText t = PrimitiveText::make(content);
    t.h_align = h;
    t.v_align = v;
    p.data_mut().text = t;
  };
  using A = PrimitiveTextAlign;
  auto parallel = make<ParallelChannel>({{0, 50}, {10, 60}, {0, 70}});  // base (5, 300) to (105, 280)
  label(*parallel, A::Center, A::Center, "");
  EXPECT_FALSE(parallel->text_anchor(canvas.ctx));
  label(*parallel, A::End, A::Center);
  auto a = parallel->text_anchor(canvas.ctx);
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->x, 105);
  EXPECT_DOUBLE_EQ(a->y, 280 - 20);  // the channel's middle at the first anchor, carried along the base
  EXPECT_NEAR(a->rotation, std::atan2(-20.0, 100.0), 1e-12);

  auto disjoint = make<DisjointChannel>({{0, 50}, {10, 50}, {0, 100}, {10, 80}});  // y 300, 300; 200 to 240
  label(*disjoint, A::End, A::Start);
  a = disjoint->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 105);
  EXPECT_DOUBLE_EQ(a->y, (300 + 240) / 2.0 - 15);  // Start: above the left-to-right line

  auto flat = make<FlatTopBottom>({{0, 50}, {10, 60}, {4, 80}});  // sloped (5, 300)-(105, 280), flat y 240
  label(*flat, A::Center, A::Center);
  a = flat->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 55);
  EXPECT_DOUBLE_EQ(a->y, (290 + 240) / 2.0);

  // A vertical reference line keeps its angle; a zero-length one has angle 0 and the normal up.
  auto vertical = make<RegressionTrend>({{5, 50}, {5, 100}});
  label(*vertical, A::Start, A::End);
  a = vertical->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->rotation, -std::numbers::pi / 2);
  auto point = make<RegressionTrend>({{5, 50}, {5, 50}});
  label(*point, A::Start, A::End);
  a = point->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->rotation, 0);
  EXPECT_DOUBLE_EQ(a->x, 55);
  EXPECT_DOUBLE_EQ(a->y, 300 - 15);
}

}  // namespace
}  // namespace qc::primitives::catalog
