// The pitchfork tools: factories, tine geometry read from the SVG, dash fallbacks, levels and labels.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "primitives/catalog/pitchforks/inside_pitchfork.hpp"
#include "primitives/catalog/pitchforks/modified_schiff.hpp"
#include "primitives/catalog/pitchforks/pitchfork.hpp"
#include "primitives/catalog/pitchforks/schiff.hpp"
#include "catalog_support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::make;
using testing::paths;
using testing::parse_path;
using testing::SvgElement;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.
// P1 (0, 100), P2 (10, 120), P3 (10, 80): median (5, 200) to (105, 200), one ratio unit 40 px down.
const std::vector<Point> kFork = {{0, 100}, {10, 120}, {10, 80}};

TEST(Pitchfork, FactoryDerivesMissingSwingPointsFromP1) {
  EXPECT_EQ(make<Pitchfork>({})->points(), (std::vector<Point>{{0, 0}, {10, 10}, {10, -10}}));
  EXPECT_EQ(make<SchiffPitchfork>({{4, 50}})->points(), (std::vector<Point>{{4, 50}, {14, 60}, {14, 40}}));
  EXPECT_EQ(make<ModifiedSchiff>({{4, 50}, {7, 90}})->points(), (std::vector<Point>{{4, 50}, {7, 90}, {14, 40}}));
  EXPECT_EQ(make<InsidePitchfork>({{1, 2}, {3, 4}, {5, 6}, {7, 8}})->points(),
            (std::vector<Point>{{1, 2}, {3, 4}, {5, 6}}));
  auto fork = make<Pitchfork>({});
  EXPECT_EQ(fork->data().width, 1.0);
  const auto levels = fork->level_configs();
  ASSERT_TRUE(levels);
  std::vector<double> ratios;
  for (const FibLevelConfig& l : *levels) ratios.push_back(l.level);
  EXPECT_EQ(ratios, (std::vector<double>{-1, -0.5, 0, 0.5, 1}));
}

TEST(Pitchfork, UnextendedTinesEndOnTheSwingLine) {
  auto fork = make<Pitchfork>(kFork);
  fork->extend = false;
  EXPECT_EQ(paths(draw(*fork)), (std::vector<std::string>{
                                    "M5.50 160.50 L105.50 160.50",  // -1 through P2
                                    "M5.50 180.50 L105.50 180.50",
                                    "M5.50 200.50 L105.50 200.50",  // the median
                                    "M5.50 220.50 L105.50 220.50",
                                    "M5.50 240.50 L105.50 240.50",  // 1 through P3
                                }));
  // The inside pitchfork measures its unit towards P2 and subtracts it: the same tines.
  auto inside = make<InsidePitchfork>(kFork);
  inside->extend = false;
  EXPECT_EQ(paths(draw(*inside)), paths(draw(*fork)));
}

TEST(Pitchfork, HandlesOfTheSchiffVariants) {
  // P1 (0, 140) above the median end M (10, 100): pixels (5, 120) and (105, 200).
  const std::vector<Point> raised = {{0, 140}, {10, 120}, {10, 80}};
  auto unextended = [](auto fork) {
    fork->extend = false;
    return std::unique_ptr<Primitive>(std::move(fork));
  };
  struct Case {
    std::unique_ptr<Primitive> fork;
    const char* median;
  };
  Case cases[] = {
      {unextended(make<Pitchfork>(raised)), "M5.50 120.50 L105.50 200.50"},
      {unextended(make<SchiffPitchfork>(raised)), "M55.50 160.50 L105.50 200.50"},  // halfway in bar and price
      {unextended(make<ModifiedSchiff>(raised)), "M5.50 160.50 L105.50 200.50"},    // P1's bar, halfway in price
  };
  for (Case& c : cases) {
    const auto e = draw(*c.fork);
    ASSERT_EQ(e.size(), 5u) << c.fork->type_id();
    EXPECT_EQ(e[2].at("d"), c.median) << c.fork->type_id();
  }
}

TEST(Pitchfork, ExtendedTinesRunTwiceTheChartWidthPlusHeightFromTheirStart) {
  auto fork = make<Pitchfork>({{0, 140}, {10, 120}, {10, 80}});  // median (5, 120) towards (105, 200)
  const auto e = draw(*fork);
  ASSERT_EQ(e.size(), 5u);
  const auto steps = parse_path(e[2].at("d"));
  ASSERT_EQ(steps.size(), 2u);
  const double dx = steps[1].args[0] - steps[0].args[0];
  const double dy = steps[1].args[1] - steps[0].args[1];
  EXPECT_NEAR(std::hypot(dx, dy), 2 * (800 + 600), 1.0);
  EXPECT_NEAR(dy / dx, 80.0 / 100.0, 1e-3);
}

TEST(Pitchfork, LevelDashAndRecordStyleFallback) {
  struct Case {
    std::unique_ptr<Primitive> fork;
    bool solid_default;  // "solid" levels ignore data.style
  };
  Case cases[] = {{make<Pitchfork>(kFork), false},
                  {make<SchiffPitchfork>(kFork), false},
                  {make<ModifiedSchiff>(kFork), true},
                  {make<InsidePitchfork>(kFork), false}};
  for (Case& c : cases) {
    c.fork->data_mut().style = LineStyle::Dotted;
    auto levels = *c.fork->level_configs();
    levels[1].style = "dashed";
    levels[2].color = "#ff0000";
    levels[2].width = 3.0;
    levels[3].visible = false;
    c.fork->set_level_configs(levels);
    const auto e = draw(*c.fork);
    ASSERT_EQ(e.size(), 4u) << c.fork->type_id();
    EXPECT_EQ(e[1].at("stroke-dasharray"), "8.00,4.00") << c.fork->type_id();
    EXPECT_EQ(e[2].at("stroke"), "#ff0000");
    EXPECT_EQ(e[2].at("stroke-width"), "3.00");
    EXPECT_EQ(e[3].at("stroke-width"), "1.00");
    if (c.solid_default) {
      EXPECT_FALSE(e[0].has("stroke-dasharray")) << c.fork->type_id();
    } else {
      EXPECT_EQ(e[0].at("stroke-dasharray"), "2.00,2.00") << c.fork->type_id();
    }
  }
}

TEST(Pitchfork, HiddenMedianEmptyListAndCollapsedFork) {
  auto fork = make<InsidePitchfork>(kFork);
  fork->extend = false;
  auto levels = *fork->level_configs();
  levels[2].visible = false;
  fork->set_level_configs(levels);
  for (const std::string& d : paths(draw(*fork))) EXPECT_NE(d, "M5.50 200.50 L105.50 200.50");

  EXPECT_TRUE(fork->set_level_configs({}));
  ASSERT_TRUE(fork->level_configs());
  EXPECT_TRUE(fork->level_configs()->empty());
  testing::Canvas canvas;
  fork->render(canvas.ctx, false);
  EXPECT_TRUE(canvas.elements().empty());

  // P1 on the median end: every extended tine is a point, and no line is drawn.
  auto collapsed = make<Pitchfork>({{10, 100}, {10, 120}, {10, 80}});
  const auto points = draw(*collapsed);
  EXPECT_EQ(points.size(), 5u);
  for (const SvgElement& e : points) EXPECT_EQ(parse_path(e.at("d")).size(), 1u) << e.at("d");
}

TEST(Pitchfork, AnchorOperations) {
  auto fork = make<SchiffPitchfork>(kFork);
  const std::vector<Point> one = {{1, 1}};
  fork->set_points(one);
  EXPECT_EQ(fork->points(), (std::vector<Point>{{1, 1}, {10, 120}, {10, 80}}));
  fork->set_points({});
  fork->translate(2, -1);
  EXPECT_EQ(fork->points(), (std::vector<Point>{{3, 0}, {12, 119}, {12, 79}}));
}

TEST(Pitchfork, JsonRecord) {
  auto fork = make<ModifiedSchiff>({{1, 2.5}});
  const std::string json = fork->to_json();
  EXPECT_EQ(json.rfind(R"({"data":{"id":0,"type_id":"modified_schiff","display_name":"Modified Schiff",)", 0), 0u);
  const std::string level = R"({"level":-1.0,"visible":true,"color":null,"width":null,"style":"solid",)"
                            R"("fill_color":null,"fill_opacity":0.1,"fill_enabled":false})";
  EXPECT_NE(json.find(R"(},"bar1":1.0,"price1":2.5,"bar2":11.0,"price2":12.5,"bar3":11.0,"price3":-7.5,)"
                      R"("level_configs":[)" + level),
            std::string::npos)
      << json;
  EXPECT_TRUE(json.ends_with(R"(],"extend":true,"show_labels":true})")) << json;
}

TEST(Pitchfork, LabelAlongTheMedian) {
  testing::Canvas canvas;
  auto fork = make<Pitchfork>(kFork);  // median (5, 200) to (105, 200)
  EXPECT_FALSE(fork->text_anchor(canvas.ctx));
  PrimitiveText text = PrimitiveText::make("fork");
  text.h_align = PrimitiveTextAlign::Start;
  text.v_align = PrimitiveTextAlign::End;
  fork->data_mut().text = text;
  auto a = fork->text_anchor(canvas.ctx);
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->x, 25);       // 20 % along
  EXPECT_DOUBLE_EQ(a->y, 200 + 12);  // half of 14 plus 5, below
  EXPECT_DOUBLE_EQ(a->rotation, 0);

  // Drawn right to left the text stays upright and End stays below it.
  auto back = make<SchiffPitchfork>({{20, 100}, {0, 120}, {0, 80}});  // handle (10, 100): (105, 200) to (5, 200)
  back->data_mut().text = text;
  a = back->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 85);
  EXPECT_DOUBLE_EQ(a->y, 212);
  EXPECT_NEAR(a->rotation, 0, 1e-12);

  auto collapsed = make<Pitchfork>({{10, 100}, {10, 120}, {10, 80}});
  collapsed->data_mut().text = text;
  a = collapsed->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 105);
  EXPECT_DOUBLE_EQ(a->y, 200);

  std::unique_ptr<Primitive> unlabelled[] = {make<ModifiedSchiff>(kFork), make<InsidePitchfork>(kFork)};
  for (auto& none : unlabelled) {
    none->data_mut().text = text;
    EXPECT_FALSE(none->text_anchor(canvas.ctx)) << none->type_id();
  }
}

}  // namespace
}  // namespace qc::primitives::catalog
