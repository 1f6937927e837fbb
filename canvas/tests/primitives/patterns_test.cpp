// The pattern and Elliott wave tools: anchors, JSON keys, label anchors and the drawing read from the SVG.
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "primitives/catalog/elliott/elliott_correction.hpp"
#include "primitives/catalog/elliott/elliott_double_combo.hpp"
#include "primitives/catalog/elliott/elliott_impulse.hpp"
#include "primitives/catalog/elliott/elliott_triangle.hpp"
#include "primitives/catalog/elliott/elliott_triple_combo.hpp"
#include "primitives/catalog/patterns/abcd_pattern.hpp"
#include "primitives/catalog/patterns/cypher_pattern.hpp"
#include "primitives/catalog/patterns/head_shoulders.hpp"
#include "primitives/catalog/patterns/three_drives.hpp"
#include "primitives/catalog/patterns/triangle_pattern.hpp"
#include "primitives/catalog/patterns/xabcd_pattern.hpp"
#include "support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::SvgElement;

template <class T>
std::unique_ptr<T> make(std::vector<Point> points, std::string_view color = "#2196F3") {
  return T::create(points, color);
}

// A drawing split into its strokes (d and dash, "" when solid), its fills and its texts.
struct Drawing {
  struct Stroke {
    std::string d, dash, width;
  };
  struct Text {
    std::string content;
    double x, y;
  };
  std::vector<Stroke> strokes;
  std::vector<std::string> fills;  // "d|fill colour"
  std::vector<Text> texts;
};

Drawing split(const std::vector<SvgElement>& elements) {
  Drawing out;
  for (const SvgElement& e : elements) {
    if (e.tag == "text") {
      out.texts.push_back({e.content, e.number("x"), e.number("y")});
    } else if (e.at("fill") == "none") {
      out.strokes.push_back({e.at("d"), e.has("stroke-dasharray") ? e.at("stroke-dasharray") : "", e.at("stroke-width")});
    } else {
      out.fills.push_back(e.at("d") + "|" + e.at("fill"));
    }
  }
  return out;
}

std::vector<std::string> contents(const Drawing& d) {
  std::vector<std::string> out;
  for (const auto& t : d.texts) out.push_back(t.content);
  return out;
}

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p; snapped lines add 0.5.
const std::vector<Point> kFive = {{0, 100}, {2, 150}, {4, 110}, {6, 160}, {8, 120}};

TEST(HarmonicPatterns, XabcdLineGuidesAndLabels) {
  std::unique_ptr<Primitive> both[] = {make<XabcdPattern>(kFive), make<CypherPattern>(kFive)};
  for (auto& p : both) {
    SCOPED_TRACE(p->type_id());
    p->data_mut().style = LineStyle::Dotted;
    const Drawing d = split(draw(*p));
    ASSERT_EQ(d.strokes.size(), 3u);
    EXPECT_EQ(d.strokes[0].d, "M5.50 200.50 L25.50 100.50 L45.50 180.50 L65.50 80.50 L85.50 160.50");
    EXPECT_EQ(d.strokes[0].dash, "2.00,2.00");
    EXPECT_EQ(d.strokes[1].d, "M5.50 200.50 L45.50 180.50");  // X to B
    EXPECT_EQ(d.strokes[2].d, "M25.50 100.50 L65.50 80.50");   // A to C
    EXPECT_EQ(d.strokes[1].dash, "4.00,4.00");
    EXPECT_EQ(d.strokes[2].dash, "4.00,4.00");
    EXPECT_TRUE(d.fills.empty());
    EXPECT_EQ(contents(d), (std::vector<std::string>{"X", "A", "B", "C", "D"}));
    // Unsnapped: 5 px left, above X, B, D and below A, C.
    EXPECT_EQ(d.texts[0].x, 0);
    EXPECT_EQ(d.texts[0].y, 185);
    EXPECT_EQ(d.texts[1].y, 115);
    EXPECT_EQ(d.texts[4].x, 80);
    EXPECT_EQ(d.texts[4].y, 145);
  }
}

TEST(HarmonicPatterns, AbcdAndThreeDrivesLooks) {
  const Drawing abcd = split(draw(*make<AbcdPattern>({{0, 100}, {2, 150}, {4, 110}, {6, 160}})));
  ASSERT_EQ(abcd.strokes.size(), 2u);
  EXPECT_EQ(abcd.strokes[1].d, "M5.50 200.50 L45.50 180.50");
  EXPECT_EQ(contents(abcd), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(abcd.texts[3].y, 80 + 15);

  std::vector<Point> seven;
  for (int i = 0; i < 8; ++i) seven.push_back({double(i), 100.0 + 10 * i});
  auto drives = make<ThreeDrives>(seven);
  EXPECT_EQ(drives->points().size(), 7u);
  const Drawing d = split(draw(*drives));
  ASSERT_EQ(d.strokes.size(), 3u);
  EXPECT_EQ(d.strokes[1].d, "M15.50 180.50 L35.50 140.50");  // 2 to 4
  EXPECT_EQ(d.strokes[2].d, "M35.50 140.50 L55.50 100.50");  // 4 to 6
  EXPECT_EQ(contents(d), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(d.texts[0].x, 1);          // 4 px left
  EXPECT_EQ(d.texts[0].y, 200 + 15);   // odd turning points below
  EXPECT_EQ(d.texts[1].y, 180 - 12);   // even ones above
}

TEST(HarmonicPatterns, LabelsOffKeepsLinesAndClearsTheDash) {
  auto p = make<XabcdPattern>(kFive);
  p->show_labels = false;
  p->show_ratios = false;
  testing::Canvas canvas;
  p->render(canvas.ctx, false);
  canvas.ctx.begin_path();
  canvas.ctx.move_to(0, 0);
  canvas.ctx.stroke();
  const Drawing d = split(canvas.elements());
  EXPECT_TRUE(d.texts.empty());
  ASSERT_EQ(d.strokes.size(), 4u);
  EXPECT_EQ(d.strokes[3].dash, "");
}

TEST(HarmonicPatterns, AnchorsFromFewPointsStayAtTheOrigin) {
  auto x = make<XabcdPattern>({{3, 7}, {4, 8}});
  EXPECT_EQ(x->points(), (std::vector<Point>{{3, 7}, {4, 8}, {0, 0}, {0, 0}, {0, 0}}));
  auto abcd = make<AbcdPattern>({{1, 1}, {2, 2}, {3, 3}, {4, 4}});
  abcd->set_points(std::vector<Point>{{9, 9}, {8, 8}, {7, 7}});
  EXPECT_EQ(abcd->points(), (std::vector<Point>{{9, 9}, {8, 8}, {7, 7}, {4, 4}}));
  abcd->set_points({});
  EXPECT_EQ(abcd->points()[0], (Point{9, 9}));
  auto cypher = make<CypherPattern>(std::vector<Point>(7, {5, 5}));
  EXPECT_EQ(cypher->points().size(), 5u);
  cypher->translate(1, -5);
  EXPECT_EQ(cypher->points()[4], (Point{6, 0}));
}

TEST(PatternJson, OwnKeysAfterData) {
  struct Case {
    std::unique_ptr<Primitive> primitive;
    const char* tail;
  };
  auto impulse = make<ElliottImpulse>({});
  impulse->degree = WaveDegree::Minuette;
  auto correction = make<ElliottCorrection>({{1, 2}});
  correction->correction_type = CorrectionType::Running;
  auto triangle = make<TrianglePattern>({{10, 50}, {12, 40}});
  triangle->triangle_type = TriangleType::Expanding;
  Case cases[] = {
      {make<XabcdPattern>({{1, 2.5}}),
       R"("points":[[1.0,2.5],[0.0,0.0],[0.0,0.0],[0.0,0.0],[0.0,0.0]],"show_labels":true,"show_ratios":true})"},
      {make<CypherPattern>({}), R"("type_id":"cypher_pattern","display_name":"Cypher Pattern",)"},
      {make<AbcdPattern>({}), R"("points":[[0.0,0.0],[0.0,0.0],[0.0,0.0],[0.0,0.0]],"show_labels":true,"show_ratios":true})"},
      {make<HeadShoulders>({{1, 2}}),
       R"("points":[[1.0,2.0],[0.0,0.0],[0.0,0.0],[0.0,0.0],[0.0,0.0],[0.0,0.0],[0.0,0.0]],)"
       R"("show_neckline":true,"inverted":false})"},
      {std::move(triangle),
       R"("bar1":10.0,"price1_top":50.0,"price1_bottom":40.0,"bar2":30.0,"price2_top":97.0,)"
       R"("price2_bottom":93.0,"triangle_type":"Expanding","show_labels":true})"},
      {std::move(impulse), R"("show_labels":true,"degree":"Minuette"})"},
      {std::move(correction), R"("points":[[1.0,2.0],[0.0,0.0],[0.0,0.0],[0.0,0.0]],"show_labels":true,)"
                              R"("correction_type":"Running"})"},
      {make<ElliottTriangle>({}), R"("show_labels":true,"show_trendlines":true})"},
      {make<ElliottDoubleCombo>({}), R"([0.0,0.0]],"show_labels":true})"},
      {make<ElliottTripleCombo>({{1, 2}, {3, 4}}), R"("points":[[1.0,2.0],[3.0,4.0]],"show_labels":true})"},
      {make<ElliottTripleCombo>({}), R"("points":[],"show_labels":true})"},
  };
  for (const Case& c : cases) {
    const std::string json = c.primitive->to_json();
    EXPECT_NE(json.find(c.tail), std::string::npos) << json;
    EXPECT_NE(json.find(R"("width":2.0,)"), std::string::npos) << json;
    EXPECT_TRUE(testing::is_valid_json(json)) << json;
  }
  EXPECT_NE(make<HeadShoulders>({})->to_json().find(R"("display_name":"Head & Shoulders")"), std::string::npos);
}

TEST(HeadShoulders, NecklineRunsOnPastTheRightTrough) {
  // troughs at (2, 100) and (4, 110): pixels (25, 200) and (45, 180); half the distance on is (55, 170)
  auto hs = make<HeadShoulders>({{0, 90}, {1, 130}, {2, 100}, {3, 150}, {4, 110}, {5, 130}, {6, 90}});
  const Drawing d = split(draw(*hs));
  ASSERT_EQ(d.strokes.size(), 2u);
  EXPECT_EQ(d.strokes[0].dash, "");
  EXPECT_EQ(d.strokes[1].d, "M25.50 200.50 L45.50 180.50 L55.50 170.50");
  EXPECT_EQ(d.strokes[1].dash, "6.00,3.00");
  ASSERT_EQ(contents(d), (std::vector<std::string>{"LS", "H", "RS"}));
  EXPECT_EQ(d.texts[0].x, 7);
  EXPECT_EQ(d.texts[0].y, 140 + 12);
  EXPECT_EQ(d.texts[1].y, 100 - 15);
  EXPECT_EQ(d.texts[2].x, 47);

  hs->show_neckline = false;
  hs->inverted = true;
  const Drawing plain = split(draw(*hs));
  EXPECT_EQ(plain.strokes.size(), 1u);
  EXPECT_EQ(plain.texts.size(), 3u);
  EXPECT_EQ(plain.texts[1].y, 100 - 15);
}

TEST(TrianglePattern, DefaultsBoundariesEdgesFillAndLabel) {
  auto t = make<TrianglePattern>({});
  EXPECT_EQ(t->points(), (std::vector<Point>{{0, 100}, {0, 90}, {20, 97}, {20, 93}}));
  // left edge x 5 from y 200 to 220; right edge x 205 from y 206 to 214
  const Drawing d = split(draw(*t));
  ASSERT_EQ(d.strokes.size(), 4u);
  EXPECT_EQ(d.strokes[0].d, "M5.50 200.50 L205.50 206.50");
  EXPECT_EQ(d.strokes[1].d, "M5.50 220.50 L205.50 214.50");
  EXPECT_EQ(d.strokes[2].d, "M5.50 200.50 L5.50 220.50");
  EXPECT_EQ(d.strokes[3].d, "M205.50 206.50 L205.50 214.50");
  EXPECT_EQ(d.strokes[2].dash, "3.00,3.00");
  ASSERT_EQ(d.fills.size(), 1u);
  EXPECT_EQ(d.fills[0], "M5.50 200.50 L205.50 206.50 L205.50 214.50 L5.50 220.50 Z|rgba(33,150,243,0.12549019607843137)");
  ASSERT_EQ(contents(d), (std::vector<std::string>{"Sym"}));
  EXPECT_EQ(d.texts[0].x, 95);
  EXPECT_EQ(d.texts[0].y, 210);
}

TEST(TrianglePattern, AnchorRules) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* name;
    std::vector<Point> given;
    std::vector<Point> anchors;
  };
  // Three points: the lower line mirrors the upper one, rising by as much as the upper falls.
  const Case cases[] = {
      {"three", {{10, 50}, {12, 40}, {15, 48}}, {{10, 50}, {10, 40}, {15, 48}, {15, 42}}},
      {"three, widening", {{66, 3028}, {66, 2822}, {104, 3040}}, {{66, 3028}, {66, 2822}, {104, 3040}, {104, 2810}}},
      {"three, infinite", {{10, kInf}, {12, 40}, {15, kInf}}, {{10, kInf}, {10, 40}, {15, kInf}, {15, 93}}},
      {"four", {{10, 50}, {12, 40}, {15, 48}, {99, 41}}, {{10, 50}, {10, 40}, {15, 48}, {15, 41}}},
      {"two", {{10, 50}, {12, 40}}, {{10, 50}, {10, 40}, {30, 97}, {30, 93}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(make<TrianglePattern>(c.given)->points(), c.anchors) << c.name;
  }

  auto three = make<TrianglePattern>(cases[0].given);
  auto t = make<TrianglePattern>({});
  t->set_points(three->points());
  EXPECT_EQ(t->to_json(), three->to_json());
  t->translate(2, 1);
  EXPECT_EQ(t->points(), (std::vector<Point>{{12, 51}, {12, 41}, {17, 49}, {17, 43}}));
  t->set_points(std::vector<Point>{{0, 0}, {99, 1}});  // the second bar is not used
  EXPECT_EQ(t->points(), (std::vector<Point>{{0, 0}, {0, 1}, {17, 49}, {17, 43}}));
}

TEST(ElliottWaves, LabelsFollowTheDirectionOfEachWave) {
  // 0 (0,100) up to 1 (1,110) down to 2 (2,105) up to 3 (3,130) down to 4 (4,120) up to 5 (5,140)
  auto impulse = make<ElliottImpulse>({{0, 100}, {1, 110}, {2, 105}, {3, 130}, {4, 120}, {5, 140}});
  const Drawing d = split(draw(*impulse));
  ASSERT_EQ(d.strokes.size(), 1u);
  EXPECT_EQ(d.strokes[0].d, "M5.50 200.50 L15.50 180.50 L25.50 190.50 L35.50 140.50 L45.50 160.50 L55.50 120.50");
  ASSERT_EQ(contents(d), (std::vector<std::string>{"0", "1", "2", "3", "4", "5"}));
  const double expected_y[] = {215, 165, 205, 125, 175, 105};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(d.texts[i].x, 10.0 * double(i) + 5) << i;
    EXPECT_EQ(d.texts[i].y, expected_y[i]) << i;
  }
  // No points: a degenerate wave at bar 0, price 0 with every label below it.
  const Drawing flat = split(draw(*make<ElliottImpulse>({})));
  ASSERT_EQ(flat.texts.size(), 6u);
  for (const auto& t : flat.texts) EXPECT_EQ(t.y, 415);
}

TEST(ElliottWaves, CorrectionDoubleComboAndTriangle) {
  const Drawing c = split(draw(*make<ElliottCorrection>({{0, 100}, {1, 90}, {2, 95}, {3, 80}})));
  EXPECT_EQ(contents(c), (std::vector<std::string>{"Start", "A", "B", "C"}));
  EXPECT_EQ(c.texts[2].y, 210 - 15);

  auto combo = make<ElliottDoubleCombo>({{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}});
  const Drawing dc = split(draw(*combo));
  ASSERT_EQ(contents(dc), (std::vector<std::string>{"W", "X", "Y"}));
  EXPECT_EQ(dc.texts[1].x, 35);
  EXPECT_EQ(dc.texts[2].x, 45);

  auto tri = make<ElliottTriangle>({{0, 100}, {1, 140}, {2, 110}, {3, 130}, {4, 115}, {5, 125}});
  const Drawing t = split(draw(*tri));
  ASSERT_EQ(t.strokes.size(), 3u);
  EXPECT_EQ(t.strokes[1].d, "M5.50 200.50 L25.50 180.50 L45.50 170.50");
  EXPECT_EQ(t.strokes[2].d, "M15.50 120.50 L35.50 140.50 L55.50 150.50");
  EXPECT_EQ(t.strokes[1].dash, "4.00,4.00");
  EXPECT_EQ(t.strokes[1].width, "1.40");
  EXPECT_EQ(t.strokes[0].width, "2.00");
  tri->show_trendlines = false;
  tri->show_labels = false;
  const Drawing bare = split(draw(*tri));
  EXPECT_EQ(bare.strokes.size(), 1u);
  EXPECT_TRUE(bare.texts.empty());
}

TEST(ElliottTripleCombo, ListOfPointsWithNineLabelSlots) {
  std::vector<Point> ten;
  for (int i = 0; i < 10; ++i) ten.push_back({double(i), i % 2 == 0 ? 100.0 : 120.0});
  auto combo = make<ElliottTripleCombo>(ten);
  const Drawing d = split(draw(*combo));
  ASSERT_EQ(d.strokes.size(), 1u);
  ASSERT_EQ(contents(d), (std::vector<std::string>{"W", "X", "Y", "X2", "Z"}));
  EXPECT_EQ(d.texts[0].x, 0);     // 5 px left of point 0
  EXPECT_EQ(d.texts[0].y, 215);   // point 0 always below
  EXPECT_EQ(d.texts[1].x, 30);    // point 3, risen into
  EXPECT_EQ(d.texts[1].y, 145);
  EXPECT_EQ(d.texts[2].y, 215);   // point 4, fallen into
  EXPECT_EQ(d.texts[4].x, 70);    // point 7

  auto one = make<ElliottTripleCombo>({{2, 50}});
  const Drawing single = split(draw(*one));
  ASSERT_EQ(single.strokes.size(), 1u);
  EXPECT_EQ(single.strokes[0].d, "M25.50 300.50");
  ASSERT_EQ(contents(single), (std::vector<std::string>{"W"}));
  EXPECT_EQ(single.texts[0].y, 315);

  one->set_points({});
  EXPECT_TRUE(one->points().empty());
  EXPECT_TRUE(draw(*one).empty());
}

TEST(PatternLabels, BoxOfTheAnchors) {
  using A = PrimitiveTextAlign;
  testing::Canvas canvas;
  std::unique_ptr<Primitive> with_box[] = {make<XabcdPattern>(kFive), make<ElliottImpulse>(kFive),
                                           make<HeadShoulders>(kFive), make<TrianglePattern>({{0, 160}, {0, 100}, {8, 120}})};
  for (auto& p : with_box) {
    SCOPED_TRACE(p->type_id());
    EXPECT_FALSE(p->text_anchor(canvas.ctx));
    PrimitiveText text = PrimitiveText::make("note");
    text.h_align = A::Start;
    text.v_align = A::Start;
    p->data_mut().text = text;
    // X..D at x 5..85 and y 80..200; the head-and-shoulders' unset anchors sit at (0, 0), y 400.
    auto a = p->text_anchor(canvas.ctx);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->x, 15);
    EXPECT_EQ(a->y, 80 + 10 + 7);
    text.h_align = A::End;
    text.v_align = A::Center;
    p->data_mut().text = text;
    a = p->text_anchor(canvas.ctx);
    EXPECT_EQ(a->x, 75);
    EXPECT_EQ(a->color, "#2196F3");
  }
  auto correction = make<ElliottCorrection>({});
  correction->data_mut().text = PrimitiveText::make("note");
  EXPECT_FALSE(correction->text_anchor(canvas.ctx));
}

}  // namespace
}  // namespace qc::primitives::catalog
