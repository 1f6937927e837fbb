// The Fibonacci tools: factories, level lists, JSON keys, label anchors and their geometry read from the SVG.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "primitives/catalog/fibonacci/arcs.hpp"
#include "primitives/catalog/fibonacci/channel.hpp"
#include "primitives/catalog/fibonacci/circles.hpp"
#include "primitives/catalog/fibonacci/fan.hpp"
#include "primitives/catalog/fibonacci/level_labels.hpp"
#include "primitives/catalog/fibonacci/retracement.hpp"
#include "primitives/catalog/fibonacci/speed_resistance.hpp"
#include "primitives/catalog/fibonacci/spiral.hpp"
#include "primitives/catalog/fibonacci/time_zones.hpp"
#include "primitives/catalog/fibonacci/trend_extension.hpp"
#include "primitives/catalog/fibonacci/trend_time.hpp"
#include "primitives/catalog/fibonacci/wedge.hpp"
#include "support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::parse_path;
using testing::SvgElement;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.
double px(double bar) { return 10 * bar + 5; }
double py(double price) { return 400 - 2 * price; }
double snapped(double v) { return std::round(v) + 0.5; }

struct Line {
  double x1, y1, x2, y2;
};

// The one straight stroke of a path element: "M x y L x y".
Line line_of(const SvgElement& e) {
  const auto steps = parse_path(e.at("d"));
  EXPECT_EQ(steps.size(), 2u) << e.at("d");
  if (steps.size() != 2 || steps[0].op != 'M' || steps[1].op != 'L') return {};
  return {steps[0].args[0], steps[0].args[1], steps[1].args[0], steps[1].args[1]};
}

// Distance of (x, y) from the line through (ax, ay) and (bx, by).
double off_line(double ax, double ay, double bx, double by, double x, double y) {
  return std::abs((bx - ax) * (y - ay) - (by - ay) * (x - ax)) / std::hypot(bx - ax, by - ay);
}

// The half axes of an ellipse path (its first point is the leftmost, the curves pass top, right, bottom).
struct Axes {
  double cx, cy, rx, ry;
};
Axes axes_of(const SvgElement& e) {
  const auto steps = parse_path(e.at("d"));
  EXPECT_GE(steps.size(), 5u) << e.at("d");
  if (steps.size() < 5 || steps[0].op != 'M' || steps[2].op != 'C') return {};
  const double left = steps[0].args[0];
  const double cy = steps[0].args[1];
  const double right = steps[2].args[4];
  const double top = steps[1].args[5];
  return {(left + right) / 2, cy, (right - left) / 2, cy - top};
}

template <class T>
std::unique_ptr<T> make(std::vector<Point> points, std::string_view color = "#2196F3") {
  return T::create(points, color);
}

std::vector<FibLevelConfig> levels_of(std::initializer_list<double> ratios) {
  std::vector<FibLevelConfig> out;
  for (double r : ratios) out.push_back(FibLevelConfig::make(r));
  return out;
}

void label(Primitive& p, PrimitiveTextAlign h, PrimitiveTextAlign v, double font_size = 14.0) {
  PrimitiveText text = PrimitiveText::make("label");
  text.h_align = h;
  text.v_align = v;
  text.font_size = font_size;
  p.data_mut().text = text;
}

// ---- factories and anchors ------------------------------------------------------------------------------

TEST(FibFactories, MissingAnchorsFollowTheGivenOnes) {
  struct Case {
    const char* name;
    std::unique_ptr<Primitive> none, one, many;
    std::vector<Point> from_none, from_one;
  };
  const std::vector<Point> many{{1, 2}, {3, 4}, {5, 6}, {7, 8}};
  Case cases[] = {
      {"retracement", make<FibRetracement>({}), make<FibRetracement>({{4, 50}}), make<FibRetracement>(many),
       {{0, 0}, {10, 0}}, {{4, 50}, {14, 50}}},
      {"trend_extension", make<FibTrendExtension>({}), make<FibTrendExtension>({{4, 50}}),
       make<FibTrendExtension>(many), {{0, 0}, {10, 10}, {15, 5}}, {{4, 50}, {14, 60}, {19, 55}}},
      {"channel", make<FibChannel>({}), make<FibChannel>({{4, 50}}), make<FibChannel>(many),
       {{0, 0}, {20, 10}, {0, 20}}, {{4, 50}, {24, 60}, {4, 70}}},
      {"time_zones", make<FibTimeZones>({}), make<FibTimeZones>({{4, 50}}), make<FibTimeZones>(many), {{0, 0}},
       {{4, 50}}},
      {"trend_time", make<FibTrendTime>({}), make<FibTrendTime>({{4, 50}}), make<FibTrendTime>(many),
       {{0, 0}, {20, 0}}, {{4, 50}, {24, 50}}},
      {"speed_resistance", make<FibSpeedResistance>({}), make<FibSpeedResistance>({{4, 50}}),
       make<FibSpeedResistance>(many), {{0, 0}, {20, 10}}, {{4, 50}, {24, 60}}},
      {"circles", make<FibCircles>({}), make<FibCircles>({{4, 50}}), make<FibCircles>(many), {{0, 0}, {20, 10}},
       {{4, 50}, {24, 60}}},
      {"spiral", make<FibSpiral>({}), make<FibSpiral>({{4, 50}}), make<FibSpiral>(many), {{0, 0}, {20, 10}},
       {{4, 50}, {24, 60}}},
      {"arcs", make<FibArcs>({}), make<FibArcs>({{4, 50}}), make<FibArcs>(many), {{0, 0}, {20, 10}},
       {{4, 50}, {24, 60}}},
      {"wedge", make<FibWedge>({}), make<FibWedge>({{4, 50}}), make<FibWedge>(many), {{0, 0}, {20, 10}, {20, -10}},
       {{4, 50}, {24, 60}, {24, 40}}},
      {"fan", make<FibFan>({}), make<FibFan>({{4, 50}}), make<FibFan>(many), {{0, 0}, {20, 10}}, {{4, 50}, {24, 60}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.none->points(), c.from_none);
    EXPECT_EQ(c.one->points(), c.from_one);
    const std::vector<Point> taken(many.begin(), many.begin() + static_cast<long>(c.from_none.size()));
    EXPECT_EQ(c.many->points(), taken);
    EXPECT_EQ(c.none->kind(), PrimitiveKind::Fibonacci);
    EXPECT_EQ(c.none->data().width, 1.0);
  }
  // The wedge takes its second point but still derives the third from the apex.
  EXPECT_EQ(make<FibWedge>({{4, 50}, {9, 9}})->points(), (std::vector<Point>{{4, 50}, {9, 9}, {24, 40}}));
}

TEST(FibAnchors, SetPointsTakesAsManyAsGiven) {
  auto channel = make<FibChannel>({{1, 1}, {2, 2}, {3, 3}});
  channel->set_points({});
  EXPECT_EQ(channel->points(), (std::vector<Point>{{1, 1}, {2, 2}, {3, 3}}));
  const std::vector<Point> one{{9, 9}};
  channel->set_points(one);
  EXPECT_EQ(channel->points(), (std::vector<Point>{{9, 9}, {2, 2}, {3, 3}}));
  channel->translate(1, -1);
  EXPECT_EQ(channel->points(), (std::vector<Point>{{10, 8}, {3, 1}, {4, 2}}));
}

// ---- level lists ----------------------------------------------------------------------------------------

TEST(FibLevels, RatioToolsKeepOnlyTheRatios) {
  std::vector<std::unique_ptr<Primitive>> tools;
  tools.push_back(make<FibTrendExtension>({}));
  tools.push_back(make<FibChannel>({}));
  tools.push_back(make<FibTrendTime>({}));
  tools.push_back(make<FibSpeedResistance>({}));
  tools.push_back(make<FibCircles>({}));
  tools.push_back(make<FibArcs>({}));
  tools.push_back(make<FibWedge>({}));
  tools.push_back(make<FibFan>({}));
  for (auto& tool : tools) {
    SCOPED_TRACE(tool->type_id());
    std::vector<FibLevelConfig> given = levels_of({0.5, -1.0});
    given[0].visible = false;
    given[0].color = "#ff0000";
    given[1].style = "dashed";
    EXPECT_TRUE(tool->set_level_configs(given));
    const auto back = tool->level_configs();
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[0].level, 0.5);
    EXPECT_TRUE((*back)[0].visible);
    EXPECT_FALSE((*back)[0].color);
    EXPECT_EQ((*back)[1].style, "solid");
    EXPECT_TRUE(tool->set_level_configs({}));
    ASSERT_TRUE(tool->level_configs());
    EXPECT_TRUE(tool->level_configs()->empty());
  }
}

TEST(FibLevels, ToolsWithoutLevelsRefuseTheList) {
  auto zones = make<FibTimeZones>({});
  auto spiral = make<FibSpiral>({});
  for (Primitive* p : {static_cast<Primitive*>(zones.get()), static_cast<Primitive*>(spiral.get())}) {
    EXPECT_FALSE(p->set_level_configs(levels_of({0.5})));
    EXPECT_FALSE(p->level_configs());
  }
}

TEST(FibLevels, RetracementKeepsWholeRecords) {
  auto fib = make<FibRetracement>({});
  ASSERT_EQ(fib->level_configs()->size(), 7u);
  std::vector<FibLevelConfig> given = levels_of({0.9, 0.1});
  given[0].visible = false;
  given[1].fill_color = "#00ff00";
  EXPECT_TRUE(fib->set_level_configs(given));
  const auto back = fib->level_configs();
  ASSERT_EQ(back->size(), 2u);
  EXPECT_FALSE((*back)[0].visible);
  EXPECT_EQ((*back)[1].fill_color, "#00ff00");
}

// ---- JSON ------------------------------------------------------------------------------------------------

TEST(FibJson, OwnKeysAfterData) {
  EXPECT_EQ(make<FibTimeZones>({{3, 7.5}})->to_json(),
            R"({"data":{"id":0,"type_id":"fib_time_zones","display_name":"Fib Time Zones","color":{"stroke":"#2196F3",)"
            R"("fill":null},"width":1.0,"style":"solid","text":null,"locked":false,"visible":true,"z_order":0,)"
            R"("timeframe_visibility":null,"sync_mode":"None","pane_id":null,"window_id":null},)"
            R"("start_bar":3.0,"start_price":7.5,"zone_count":12,"show_labels":true})");
  // Everything after the common record.
  const auto own_keys = [](const Primitive& p) {
    const std::string json = p.to_json();
    const std::string_view end_of_data = R"("window_id":null},)";
    return json.substr(json.find(end_of_data) + end_of_data.size());
  };
  auto retracement = make<FibRetracement>({{1, 2}, {3, 4}});
  retracement->set_level_configs(levels_of({0.5}));
  EXPECT_EQ(own_keys(*retracement),
            R"("bar1":1.0,"price1":2.0,"bar2":3.0,"price2":4.0,"level_configs":[{"level":0.5,"visible":true,)"
            R"("color":null,"width":null,"style":"solid","fill_color":null,"fill_opacity":0.1,"fill_enabled":false}],)"
            R"("show_prices":true,"show_percentages":true,"extend_left":false,"extend_right":true,)"
            R"("show_fill":false,"fill_opacity":0.1})");
  struct Case {
    std::unique_ptr<Primitive> primitive;
    const char* tail;
  };
  Case cases[] = {
      {make<FibTrendExtension>({}),
       R"("bar1":0.0,"price1":0.0,"bar2":10.0,"price2":10.0,"bar3":15.0,"price3":5.0,)"
       R"("levels":[0.0,0.236,0.382,0.5,0.618,0.786,1.0,1.272,1.618,2.0,2.618,3.618,4.236],)"
       R"("show_prices":true,"show_percentages":true,"extend_right":true})"},
      {make<FibChannel>({}),
       R"("bar1":0.0,"price1":0.0,"bar2":20.0,"price2":10.0,"bar3":0.0,"price3":20.0,)"
       R"("levels":[0.0,0.236,0.382,0.5,0.618,0.786,1.0],"show_prices":true,"extend":true})"},
      {make<FibTrendTime>({}),
       R"("bar1":0.0,"price1":0.0,"bar2":20.0,"price2":0.0,)"
       R"("levels":[0.0,0.236,0.382,0.5,0.618,0.786,1.0,1.272,1.618,2.0,2.618],"show_labels":true})"},
      {make<FibSpeedResistance>({}),
       R"("bar1":0.0,"price1":0.0,"bar2":20.0,"price2":10.0,)"
       R"("levels":[0.25,0.333,0.382,0.5,0.618,0.667,0.75],"show_labels":true,"reverse":false})"},
      {make<FibCircles>({}),
       R"("center_bar":0.0,"center_price":0.0,"edge_bar":20.0,"edge_price":10.0,)"
       R"("levels":[0.236,0.382,0.5,0.618,0.786,1.0,1.272,1.618,2.0,2.618],"show_labels":true})"},
      {make<FibSpiral>({}),
       R"("center_bar":0.0,"center_price":0.0,"edge_bar":20.0,"edge_price":10.0,"rotations":3.0,)"
       R"("clockwise":true,"flip_horizontal":false,"flip_vertical":false})"},
      {make<FibArcs>({}),
       R"("bar1":0.0,"price1":0.0,"bar2":20.0,"price2":10.0,)"
       R"("levels":[0.236,0.382,0.5,0.618,0.786,1.0],"show_labels":true,"full_circle":false})"},
      {make<FibWedge>({}),
       R"("bar1":0.0,"price1":0.0,"bar2":20.0,"price2":10.0,"bar3":20.0,"price3":-10.0,)"
       R"("levels":[0.236,0.382,0.5,0.618,0.786],"show_labels":true,"fill":false,"fill_opacity":0.1})"},
      {make<FibFan>({}),
       R"("bar1":0.0,"price1":0.0,"bar2":20.0,"price2":10.0,)"
       R"("levels":[0.236,0.382,0.5,0.618,0.786],"show_labels":true,"extend":true})"},
  };
  for (const Case& c : cases) EXPECT_EQ(own_keys(*c.primitive), c.tail) << c.primitive->type_id();
  EXPECT_NE(make<FibTrendExtension>({})->to_json().find(R"("display_name":"Fib Extension")"), std::string::npos);
}

// ---- geometry ----------------------------------------------------------------------------------------------

TEST(FibRetracement, LevelLinesFromTheLeftAnchorToTheRightEdgeThenTheDashedTrend) {
  auto fib = make<FibRetracement>({{13, 150}, {3, 100}});
  const auto e = draw(*fib);
  ASSERT_EQ(e.size(), 8u + 7u);  // and a label per level
  const double ratios[] = {0, 0.236, 0.382, 0.5, 0.618, 0.786, 1};
  for (std::size_t i = 0; i < 7; ++i) {
    const Line l = line_of(e[i]);
    EXPECT_EQ(l.x1, 35.5);
    EXPECT_EQ(l.x2, 800.5);
    EXPECT_EQ(l.y1, snapped(py(150 - ratios[i] * 50))) << ratios[i];  // ratio 0 at the first anchor
    EXPECT_EQ(l.y2, l.y1);
    EXPECT_FALSE(e[i].has("stroke-dasharray"));
    EXPECT_EQ(e[i].at("stroke-width"), "1.00");
  }
  EXPECT_EQ(e[7].at("d"), "M135.50 100.50 L35.50 200.50");
  EXPECT_EQ(e[7].at("stroke-dasharray"), "4.00,4.00");

  fib->extend_left = true;
  fib->extend_right = false;
  const Line l = line_of(draw(*fib).at(0));
  EXPECT_EQ(l.x1, 0.5);
  EXPECT_EQ(l.x2, 135.5);
}

TEST(FibRetracement, LevelsCarryTheirOwnStroke) {
  auto fib = make<FibRetracement>({{3, 100}, {13, 150}});
  std::vector<FibLevelConfig> levels = levels_of({0, 0.5, 1});
  levels[0].style = "large_dashed";
  levels[1].style = "largedashed";  // only the underscore names dash
  levels[1].color = "#ff0000";
  levels[1].width = 3.0;
  levels[2].visible = false;
  fib->set_level_configs(levels);
  const auto e = draw(*fib);
  ASSERT_EQ(e.size(), 3u + 2u);
  EXPECT_EQ(e[0].at("stroke-dasharray"), "12.00,6.00");
  EXPECT_FALSE(e[1].has("stroke-dasharray"));
  EXPECT_EQ(e[1].at("stroke"), "#ff0000");
  EXPECT_EQ(e[1].at("stroke-width"), "3.00");
  // The trend keeps the last level's stroke.
  EXPECT_EQ(e[2].at("stroke"), "#ff0000");
  EXPECT_EQ(e[2].at("stroke-dasharray"), "4.00,4.00");

  fib->set_level_configs({});
  EXPECT_EQ(draw(*fib).size(), 1u);
}

TEST(FibRetracement, BandsJoinNeighbouringVisibleRatios) {
  auto fib = make<FibRetracement>({{3, 100}, {13, 200}});
  // Out of ratio order, with a hidden level between two filled ones and a level whose ratio is not a number.
  std::vector<FibLevelConfig> levels = levels_of({0.5, 0.0, 0.25, 1.0, std::nan("")});
  for (auto& level : levels) level.fill_enabled = true;
  levels[0].fill_color = "#00ff00";
  levels[0].fill_opacity = 0.5;
  levels[2].visible = false;
  fib->set_level_configs(levels);
  std::vector<SvgElement> e;
  for (const auto& el : draw(*fib)) {
    if (el.tag == "path") e.push_back(el);  // the labels aside
  }
  std::vector<const SvgElement*> bands;
  for (const auto& el : e) {
    if (el.at("fill") != "none") bands.push_back(&el);
  }
  ASSERT_EQ(bands.size(), 2u);  // 0 to 0.5 and 0.5 to 1; the highest visible ratio opens none
  const auto band_ys = [](const SvgElement& band) {
    const auto steps = parse_path(band.at("d"));
    EXPECT_EQ(steps.size(), 5u);
    return std::pair{steps.at(0).args[1], steps.at(2).args[1]};
  };
  EXPECT_EQ(band_ys(*bands[0]), (std::pair{py(100), py(150)}));
  EXPECT_EQ(band_ys(*bands[1]), (std::pair{py(150), py(200)}));
  EXPECT_EQ(bands[1]->at("fill"), "rgba(0,255,0,0.4980392156862745)");  // the level's own fill and opacity
  EXPECT_EQ(bands[0]->at("fill"), "rgba(33,150,243,0.09803921568627451)");
  // Three visible lines and the trend come after the bands, at full opacity; the line at a ratio that is not
  // a number has no place on the chart and is left out.
  ASSERT_EQ(e.size(), 6u);
  for (std::size_t i = 2; i < e.size(); ++i) EXPECT_EQ(e[i].at("stroke"), "#2196f3");
}

TEST(FibTrendExtension, LevelsFromP3ByRatiosOfTheFirstMove) {
  auto ext = make<FibTrendExtension>({{0, 100}, {10, 110}, {15, 105}});
  ext->set_level_configs(levels_of({0, 1.618}));
  const auto e = draw(*ext);
  ASSERT_EQ(e.size(), 3u + 2u);
  EXPECT_EQ(e[0].at("d"), "M5.50 200.50 L105.50 180.50 L155.50 190.50");
  EXPECT_EQ(e[1].at("d"), "M155.50 190.50 L800.50 190.50");
  EXPECT_EQ(line_of(e[2]).y1, snapped(py(121.18)));
  ext->set_level_configs({});
  EXPECT_EQ(draw(*ext).size(), 1u);
}

TEST(FibLevelLabels, RatioAndPriceByOption) {
  struct Case {
    double ratio, price;
    bool ratio_shown, price_shown;
    const char* text;
  };
  const Case cases[] = {
      {0.618, 2843.1, true, true, "0.618 (2843.10)"}, {0.618, 2843.1, false, true, "(2843.10)"},
      {0.618, 2843.1, true, false, "0.618"},          {0.618, 2843.1, false, false, ""},
      {0, 99.999, true, true, "0 (100.00)"},          {1, 100, true, true, "1 (100.00)"},
      {1.272, -3.456, true, true, "1.272 (-3.46)"},   {0.5, 0.0003, true, true, "0.5 (0.00)"},
      {4.236, 12, true, false, "4.236"},              {0.1, 1e7, true, true, "0.1 (10000000.00)"},
  };
  std::string text = "left over";
  for (const Case& c : cases) {
    fibonacci::write_level_label(text, c.ratio, c.price, {c.ratio_shown, c.price_shown});
    EXPECT_EQ(text, c.text) << c.ratio << " " << c.price;
  }
}

std::vector<SvgElement> texts_of(const std::vector<SvgElement>& all) { return testing::of_tag(all, "text"); }

TEST(FibLevelLabels, RetracementLabelsAtTheLevelsLeftEnds) {
  auto fib = make<FibRetracement>({{13, 150}, {3, 100}});  // left end x 35; ratio 0 at 150, 1 at 100
  std::vector<FibLevelConfig> levels = levels_of({0, 0.618, 1});
  levels[1].color = "#ff0000";
  fib->set_level_configs(levels);
  auto texts = texts_of(draw(*fib));
  ASSERT_EQ(texts.size(), 3u);
  const char* contents[] = {"0 (150.00)", "0.618 (119.10)", "1 (100.00)"};
  const double prices[] = {150, 119.1, 100};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(texts[i].content, contents[i]);
    EXPECT_EQ(texts[i].number("x"), 35 + 4);
    // The middle 8 px above the level, on the central baseline.
    EXPECT_NEAR(texts[i].number("y"), py(prices[i]) - 8, 0.006);
    EXPECT_EQ(texts[i].at("dominant-baseline"), "central");
    EXPECT_EQ(texts[i].at("font-size"), "10.0");
  }
  EXPECT_EQ(texts[0].at("fill"), "#2196f3");
  EXPECT_EQ(texts[1].at("fill"), "#ff0000");  // the level's own colour

  fib->extend_left = true;
  EXPECT_EQ(texts_of(draw(*fib)).at(0).number("x"), 4);
  fib->show_percentages = false;
  EXPECT_EQ(texts_of(draw(*fib)).at(1).content, "(119.10)");
  fib->show_prices = false;
  EXPECT_TRUE(texts_of(draw(*fib)).empty());
  fib->show_percentages = true;
  EXPECT_EQ(texts_of(draw(*fib)).at(1).content, "0.618");
}

TEST(FibLevelLabels, ExtensionLabelsFromP3) {
  auto ext = make<FibTrendExtension>({{0, 100}, {10, 110}, {15, 105}}, "#00aa00");
  ext->set_level_configs(levels_of({0, 1.618}));
  const auto texts = texts_of(draw(*ext));
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].content, "0 (105.00)");
  EXPECT_EQ(texts[1].content, "1.618 (121.18)");
  for (const auto& t : texts) {
    EXPECT_EQ(t.number("x"), px(15) + 4);
    EXPECT_EQ(t.at("fill"), "#00aa00");
  }
  EXPECT_NEAR(texts[1].number("y"), py(121.18) - 8, 0.006);
}

TEST(FibChannel, ParallelLinesThroughTheOffsetToP3) {
  auto channel = make<FibChannel>({{3, 100}, {13, 100}, {8, 150}});
  channel->extend = false;
  channel->set_level_configs(levels_of({0, 1}));
  auto e = draw(*channel);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].at("d"), "M35.50 200.50 L135.50 200.50");
  EXPECT_EQ(e[1].at("d"), "M35.50 100.50 L135.50 100.50");  // through P3

  // Coincident base anchors: the offset is purely in price, and extended lines have no length.
  auto flat = make<FibChannel>({{3, 100}, {3, 100}, {8, 150}});
  flat->set_level_configs(levels_of({1}));
  e = draw(*flat);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_TRUE(parse_path(e[0].at("d")).empty()) << e[0].at("d");

  auto sloped = make<FibChannel>({{3, 100}, {13, 150}, {13, 100}});
  sloped->set_level_configs(levels_of({0.5}));
  const Line l = line_of(draw(*sloped).at(0));
  EXPECT_NEAR((l.y2 - l.y1) / (l.x2 - l.x1), -1.0, 0.01);  // parallel to the base line
  // The 100 x 100 px level line carried 2 x (800 + 600) px beyond each end.
  EXPECT_NEAR(std::hypot(l.x2 - l.x1, l.y2 - l.y1), 100 * std::sqrt(2.0) + 2 * 2 * (800 + 600), 1.5);
}

TEST(FibTimeZones, StartLineAndAtMostTwelveZones) {
  auto zones = make<FibTimeZones>({{2, 50}});
  zones->zone_count = 0;
  auto e = draw(*zones);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].at("d"), "M25.50 0.00 L25.50 600.00");
  zones->zone_count = 100;
  e = draw(*zones);
  ASSERT_EQ(e.size(), 13u);
  EXPECT_EQ(line_of(e[4]).x1, snapped(px(2 + 5)));
  EXPECT_EQ(line_of(e[12]).x1, snapped(px(2 + 233)));
}

TEST(FibTrendTime, DashedTrendThenFullHeightLinesInTheRecordStyle) {
  auto fib = make<FibTrendTime>({{2, 50}, {12, 80}, {40, 40}});
  fib->data_mut().style = LineStyle::Dotted;
  fib->set_level_configs(levels_of({0, 0.5, 2}));
  const auto e = draw(*fib);
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].at("d"), "M25.50 300.50 L125.50 240.50");
  EXPECT_EQ(e[0].at("stroke-dasharray"), "4.00,4.00");
  const double bars[] = {2, 7, 22};
  for (std::size_t i = 0; i < 3; ++i) {
    const Line l = line_of(e[i + 1]);
    EXPECT_EQ(l.x1, snapped(px(bars[i])));
    EXPECT_EQ(l.y1, 0);
    EXPECT_EQ(l.y2, 600);
    EXPECT_EQ(e[i + 1].at("stroke-dasharray"), "2.00,2.00");
  }
}

TEST(FibSpeedResistance, RaysThroughTheLevelPricesAtTheSecondAnchor) {
  for (bool reverse : {false, true}) {
    auto fib = make<FibSpeedResistance>({{3, 100}, {13, 180}});
    fib->reverse = reverse;
    fib->set_level_configs(levels_of({0.25}));
    const auto e = draw(*fib);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].at("d"), "M35.50 200.50 L135.50 40.50");
    const Line ray = line_of(e[1]);
    EXPECT_EQ(ray.x1, 35.5);
    EXPECT_NEAR(std::hypot(ray.x2 - 35.5, ray.y2 - 200.5), 2 * (800 + 600), 1.5);
    const double through = py(100 + (reverse ? 0.75 : 0.25) * 80);
    EXPECT_LT(off_line(35, 200, 135, through, ray.x2, ray.y2), 1.5) << reverse;
  }
  auto still = make<FibSpeedResistance>({{3, 100}, {3, 100}});
  EXPECT_EQ(draw(*still).at(1).at("d"), "M35.50 200.50");
}

TEST(FibFan, RaysFromTheOriginEndAtTheSecondAnchorWithoutExtend) {
  auto fan = make<FibFan>({{3, 100}, {13, 180}});
  fan->set_level_configs(levels_of({0.5}));
  auto e = draw(*fan);
  ASSERT_EQ(e.size(), 2u);
  const Line ray = line_of(e[1]);
  EXPECT_GT(ray.x2, 800);
  EXPECT_LT(off_line(35, 200, 135, py(140), ray.x2, ray.y2), 1.0);
  fan->extend = false;
  EXPECT_EQ(draw(*fan).at(1).at("d"), "M35.50 200.50 L135.50 120.50");

  label(*fan, PrimitiveTextAlign::End, PrimitiveTextAlign::Start);
  testing::Canvas canvas;
  const auto anchor = fan->text_anchor(canvas.ctx);
  ASSERT_TRUE(anchor);
  EXPECT_EQ(anchor->x, 125);
  EXPECT_EQ(anchor->y, 40 + 10 + 7);
  EXPECT_DOUBLE_EQ(anchor->rotation, std::atan2(-160.0, 100.0));
}

TEST(FibArcs, EllipsesAroundTheSecondAnchor) {
  auto arcs = make<FibArcs>({{3, 100}, {13, 150}});
  arcs->set_level_configs(levels_of({0.5, 1}));
  auto e = draw(*arcs);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].at("d"), "M35.50 200.50 L135.50 100.50");
  const Axes a = axes_of(e[2]);
  EXPECT_NEAR(a.cx, 135, 0.01);
  EXPECT_NEAR(a.cy, 100, 0.01);
  EXPECT_NEAR(a.rx, 100, 0.01);
  EXPECT_NEAR(a.ry, 100, 0.01);
  EXPECT_NEAR(axes_of(e[1]).rx, 50, 0.01);
  // Coincident anchors: unit radii of one pixel.
  auto dot = make<FibArcs>({{3, 100}, {3, 100}});
  dot->set_level_configs(levels_of({4}));
  EXPECT_NEAR(axes_of(draw(*dot).at(1)).rx, 4, 0.01);
}

TEST(FibCircles, EllipsesWithTheEdgeFoldedUpAndRight) {
  auto circles = make<FibCircles>({{9.5, 100}, {17.5, 125}});
  auto mirrored = make<FibCircles>({{9.5, 100}, {1.5, 75}});
  const auto e = draw(*circles);
  ASSERT_EQ(e.size(), 10u);
  const auto m = draw(*mirrored);
  ASSERT_EQ(m.size(), e.size());
  for (std::size_t i = 0; i < e.size(); ++i) EXPECT_EQ(e[i].at("d"), m[i].at("d"));
  const Axes unit = axes_of(e[5]);  // ratio 1
  EXPECT_NEAR(unit.cx, 100, 0.01);
  EXPECT_NEAR(unit.cy, 200, 0.01);
  EXPECT_NEAR(unit.rx, 80, 0.01);
  EXPECT_NEAR(unit.ry, 50, 0.01);

  label(*circles, PrimitiveTextAlign::End, PrimitiveTextAlign::Start);
  testing::Canvas canvas;
  const auto anchor = circles->text_anchor(canvas.ctx);
  ASSERT_TRUE(anchor);
  EXPECT_EQ(anchor->x, 170);
  EXPECT_EQ(anchor->y, 167);
  EXPECT_EQ(anchor->rotation, 0);
}

TEST(FibSpiral, WindsInwardsFromTheEdgeBar) {
  auto spiral = make<FibSpiral>({{10, 100}, {30, 150}});
  const auto steps = parse_path(draw(*spiral).at(0).at("d"));
  ASSERT_EQ(steps.size(), 200u);
  EXPECT_NEAR(steps[0].args[0], px(30), 1e-9);
  EXPECT_NEAR(steps[0].args[1], py(100), 1e-9);
  // A quarter turn later the radius has shrunk by the golden ratio.
  const double quarter = std::hypot(steps.back().args[0] - px(10), steps.back().args[1] - py(100));
  EXPECT_LT(quarter, 200.0 * std::pow(std::numbers::phi, -11.9));

  auto mirrored = make<FibSpiral>({{10, 100}, {30, 150}});
  mirrored->clockwise = false;
  mirrored->flip_vertical = true;
  EXPECT_EQ(draw(*mirrored).at(0).at("d"), draw(*spiral).at(0).at("d"));
  spiral->rotations = 0;
  for (const auto& s : parse_path(draw(*spiral).at(0).at("d"))) {
    EXPECT_NEAR(s.args[0], px(30), 1e-9);
    EXPECT_NEAR(s.args[1], py(100), 1e-9);
  }
}

TEST(FibWedge, FilledTriangleOutlineAndLevelsAcrossTheLegs) {
  auto wedge = make<FibWedge>({{3, 100}, {13, 150}, {13, 50}});
  wedge->fill = true;
  wedge->fill_opacity = 1.5;
  wedge->set_level_configs(levels_of({0, 1}));
  const auto e = draw(*wedge);
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].at("fill"), "#2196f3");  // opacity clamped to opaque
  EXPECT_EQ(e[0].at("d"), "M35.00 200.00 L135.00 100.00 L135.00 300.00 Z");
  EXPECT_EQ(e[1].at("d"), "M35.50 200.50 L135.50 100.50 L135.50 300.50 Z");
  EXPECT_EQ(e[2].at("d"), "M35.50 200.50 L35.50 200.50");  // level 0 collapses on the apex
  EXPECT_EQ(e[3].at("d"), "M135.50 100.50 L135.50 300.50");  // level 1 is the far side

  wedge->fill_opacity = -1;
  wedge->data_mut().color.stroke = "#abc";  // a short stroke still gives a fill text that parses
  EXPECT_EQ(draw(*wedge).at(0).at("fill"), "rgba(170,187,204,0)");
}

TEST(FibLabels, BoxAnchorsAndNone) {
  auto channel = make<FibChannel>({{3, 100}, {13, 150}, {8, 50}});
  testing::Canvas canvas;
  EXPECT_FALSE(channel->text_anchor(canvas.ctx));
  label(*channel, PrimitiveTextAlign::Center, PrimitiveTextAlign::End);
  auto anchor = channel->text_anchor(canvas.ctx);
  ASSERT_TRUE(anchor);
  EXPECT_EQ(anchor->x, 85);                     // centroid of 35, 135, 85
  EXPECT_EQ(anchor->y, 300 - 10 - 7);           // the lowest anchor, 10 px and half the font in
  EXPECT_EQ(anchor->color, "#2196F3");

  auto fib = make<FibRetracement>({{3, 100}, {13, 150}});
  label(*fib, PrimitiveTextAlign::Start, PrimitiveTextAlign::End);
  anchor = fib->text_anchor(canvas.ctx);
  ASSERT_TRUE(anchor);
  EXPECT_EQ(anchor->x, 35);
  EXPECT_EQ(anchor->y, 200 + 8 + 14);
  label(*fib, PrimitiveTextAlign::End, PrimitiveTextAlign::Start);
  anchor = fib->text_anchor(canvas.ctx);
  EXPECT_EQ(anchor->x, 135);
  EXPECT_EQ(anchor->y, 100 - 8);

  for (Primitive* p : std::initializer_list<Primitive*>{make<FibTimeZones>({}).release(), make<FibWedge>({}).release()}) {
    std::unique_ptr<Primitive> owned(p);
    label(*owned, PrimitiveTextAlign::Center, PrimitiveTextAlign::Center);
    EXPECT_FALSE(owned->text_anchor(canvas.ctx)) << owned->type_id();
  }
}

}  // namespace
}  // namespace qc::primitives::catalog
