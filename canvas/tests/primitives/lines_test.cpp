// The line tools: factories, anchor rules, JSON keys, label anchors and their geometry as read from the SVG.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "primitives/catalog/lines/cross_line.hpp"
#include "primitives/catalog/lines/extended_line.hpp"
#include "primitives/catalog/lines/horizontal_line.hpp"
#include "primitives/catalog/lines/horizontal_ray.hpp"
#include "primitives/catalog/lines/ray.hpp"
#include "primitives/catalog/lines/trend_line.hpp"
#include "primitives/catalog/lines/vertical_line.hpp"
#include "support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::kCanvasHeight;
using testing::kCanvasWidth;
using testing::parse_path;
using testing::SvgElement;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.
struct Segment2 {
  double x1, y1, x2, y2;
};

// The one straight stroke of a path element: "M x y L x y".
Segment2 segment_of(const SvgElement& e) {
  const auto steps = parse_path(e.at("d"));
  EXPECT_EQ(steps.size(), 2u) << e.at("d");
  if (steps.size() != 2) return {};
  EXPECT_EQ(steps[0].op, 'M');
  EXPECT_EQ(steps[1].op, 'L');
  return {steps[0].args[0], steps[0].args[1], steps[1].args[0], steps[1].args[1]};
}

// Distance of (x, y) from the line through (ax, ay) and (bx, by).
double off_line(double ax, double ay, double bx, double by, double x, double y) {
  return std::abs((bx - ax) * (y - ay) - (by - ay) * (x - ax)) / std::hypot(bx - ax, by - ay);
}

template <class T>
std::unique_ptr<T> make(std::vector<Point> points, std::string_view color = "#2196F3") {
  return T::create(points, color);
}

TEST(TrendLine, SegmentBetweenSnappedAnchors) {
  auto line = make<TrendLine>({{3, 100}, {13, 150}});
  const auto e = draw(*line);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].tag, "path");
  EXPECT_EQ(e[0].at("d"), "M35.50 200.50 L135.50 100.50");
  EXPECT_EQ(e[0].at("stroke"), "#2196f3");
  EXPECT_EQ(e[0].at("stroke-width"), "2.00");
  EXPECT_EQ(e[0].at("fill"), "none");
}

TEST(TrendLine, ExtensionsReachTheEdgesAlongTheLine) {
  struct Case {
    ExtendMode mode;
    bool left_edge, right_edge;
  };
  const Case cases[] = {{ExtendMode::Right, false, true}, {ExtendMode::Left, true, false}, {ExtendMode::Both, true, true}};
  for (const Case& c : cases) {
    auto line = make<TrendLine>({{3, 100}, {13, 150}});  // pixels (35, 200) to (135, 100)
    line->extend = c.mode;
    const auto e = draw(*line);
    ASSERT_EQ(e.size(), 1u);
    const Segment2 s = segment_of(e[0]);
    EXPECT_EQ(s.x1, c.left_edge ? 0.5 : 35.5) << json_name(c.mode);
    EXPECT_EQ(s.x2, c.right_edge ? kCanvasWidth + 0.5 : 135.5) << json_name(c.mode);
    EXPECT_LT(off_line(35, 200, 135, 100, s.x1, s.y1), 1.0) << json_name(c.mode);
    EXPECT_LT(off_line(35, 200, 135, 100, s.x2, s.y2), 1.0) << json_name(c.mode);
  }
}

TEST(TrendLine, SteepExtensionUsesTheFixedFactor) {
  auto line = make<TrendLine>({{3, 100}, {3, 80}});  // same bar, 40 px lower
  line->extend = ExtendMode::Right;
  EXPECT_EQ(draw(*line).at(0).at("d"), "M35.50 200.50 L800.50 40200.50");
}

TEST(TrendLine, StyleDashIsClearedAfterTheRender) {
  auto line = make<TrendLine>({{3, 100}, {13, 150}}, "#ff0000");
  line->data_mut().style = LineStyle::Dashed;
  testing::Canvas canvas;
  line->render(canvas.ctx, false);
  canvas.ctx.begin_path();
  canvas.ctx.move_to(0, 0);
  canvas.ctx.stroke();
  const auto e = canvas.elements();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].at("stroke"), "#ff0000");
  EXPECT_EQ(e[0].at("stroke-dasharray"), "8.00,4.00");
  EXPECT_FALSE(e[1].has("stroke-dasharray"));
}

TEST(ExtendedLine, HorizontalAcrossTheWholeWidth) {
  auto line = make<ExtendedLine>({{2, 50}, {8, 50}});
  EXPECT_EQ(draw(*line).at(0).at("d"), "M0.50 300.50 L800.50 300.50");
  EXPECT_EQ(draw(*line, 2.0).at(0).at("d"), "M0.25 300.25 L800.25 300.25");
  auto sloped = make<ExtendedLine>({{3, 100}, {13, 150}});
  const Segment2 s = segment_of(draw(*sloped).at(0));
  EXPECT_EQ(s.x1, 0.5);
  EXPECT_EQ(s.x2, 800.5);
  EXPECT_LT(off_line(35, 200, 135, 100, s.x2, s.y2), 1.0);
}

TEST(Ray, LeavesTheCanvasThroughItsSecondAnchor) {
  auto ray = make<Ray>({{3, 100}, {13, 150}});
  const Segment2 s = segment_of(draw(*ray).at(0));
  EXPECT_EQ(s.x1, 35.5);
  EXPECT_EQ(s.y1, 200.5);
  EXPECT_TRUE(s.x2 > kCanvasWidth || s.y2 < 0) << s.x2 << "," << s.y2;
  EXPECT_GT(s.x2, 135);  // the direction of the second anchor
  EXPECT_LT(s.y2, 100);
  EXPECT_LT(off_line(35, 200, 135, 100, s.x2, s.y2), 1.0);
}

TEST(Ray, DegenerateRayRunsRightToTheEdge) {
  for (const auto& points : {std::vector<Point>{{5, 50}}, std::vector<Point>{{5, 50}, {5.0005, 50}}}) {
    auto ray = make<Ray>(points);
    EXPECT_EQ(draw(*ray).at(0).at("d"), "M55.50 300.50 L800.50 300.50");
  }
}

TEST(CrossLine, TwoFullLengthLinesThroughTheAnchor) {
  auto cross = make<CrossLine>({{4, 150}, {9, 9}});
  cross->show_price_label = false;
  cross->show_bar_label = false;
  const auto e = draw(*cross);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].at("d"), "M0.00 100.50 L800.00 100.50");
  EXPECT_EQ(e[1].at("d"), "M45.50 0.00 L45.50 600.00");
  EXPECT_EQ(e[1].at("stroke-width"), "1.00");
}

TEST(AxisLines, SnappedOnlyAcrossTheirDirection) {
  EXPECT_EQ(draw(*make<HorizontalLine>({{7, 99.9}})).at(0).at("d"), "M0.00 200.50 L800.00 200.50");
  EXPECT_EQ(draw(*make<HorizontalLine>({{7, 99.9}}), 2.0).at(0).at("d"), "M0.00 200.25 L800.00 200.25");
  EXPECT_EQ(draw(*make<VerticalLine>({{12, 99}})).at(0).at("d"), "M125.50 0.00 L125.50 600.00");
  EXPECT_EQ(draw(*make<HorizontalRay>({{4, 150}})).at(0).at("d"), "M45.50 100.50 L800.00 100.50");
  // An anchor right of the canvas still draws, leftwards to the canvas width.
  const Segment2 s = segment_of(draw(*make<HorizontalRay>({{100, 150}})).at(0));
  EXPECT_GT(s.x1, kCanvasWidth);
  EXPECT_EQ(s.x2, kCanvasWidth);
}

TEST(LineFactories, AnchorsAndWidths) {
  EXPECT_EQ(make<TrendLine>({{10, 100}})->points(), (std::vector<Point>{{10, 100}, {10, 100}}));
  EXPECT_EQ(make<TrendLine>({})->points(), (std::vector<Point>{{0, 0}, {0, 0}}));
  EXPECT_EQ(make<Ray>({{1, 2}, {3, 4}, {5, 6}})->points(), (std::vector<Point>{{1, 2}, {3, 4}}));
  EXPECT_EQ(make<HorizontalLine>({{7, 101.5}})->points(), (std::vector<Point>{{0, 101.5}}));
  EXPECT_EQ(make<HorizontalLine>({{7, 101.5}})->data().width, 1.0);
  EXPECT_EQ(make<VerticalLine>({{12, 99}})->points(), (std::vector<Point>{{12, 0}}));
  EXPECT_EQ(make<HorizontalRay>({})->points(), (std::vector<Point>{{0, 0}}));
  EXPECT_EQ(make<HorizontalRay>({})->data().width, 2.0);
  EXPECT_EQ(make<CrossLine>({})->data().width, 1.0);
  auto trend = make<TrendLine>({});
  EXPECT_EQ(trend->extend, ExtendMode::None);
  EXPECT_FALSE(trend->show_price_labels);
}

TEST(LineAnchors, SetPointsAndTranslate) {
  auto trend = make<TrendLine>({{1, 1}, {2, 2}});
  const std::vector<Point> one = {{9, 9}};
  const std::vector<Point> three = {{5, 5}, {6, 6}, {7, 7}};
  trend->set_points(one);  // fewer than two: nothing changes
  EXPECT_EQ(trend->points(), (std::vector<Point>{{1, 1}, {2, 2}}));
  trend->set_points(three);
  EXPECT_EQ(trend->points(), (std::vector<Point>{{5, 5}, {6, 6}}));

  auto vertical = make<VerticalLine>({{12, 99}});
  vertical->translate(3, 50);
  EXPECT_EQ(vertical->bar_idx, 15);
  EXPECT_EQ(vertical->points(), (std::vector<Point>{{15, 0}}));
  vertical->set_points(three);
  EXPECT_EQ(vertical->bar_idx, 5);

  auto horizontal = make<HorizontalLine>({{7, 101.5}});
  horizontal->translate(3, -1.5);
  EXPECT_EQ(horizontal->price, 100);
  horizontal->set_points({});
  EXPECT_EQ(horizontal->price, 100);

  auto cross = make<CrossLine>({{1, 1}});
  cross->set_points(three);
  EXPECT_EQ(cross->points(), (std::vector<Point>{{5, 5}}));
  cross->translate(-5, -5);
  EXPECT_EQ(cross->points(), (std::vector<Point>{{0, 0}}));
}

TEST(LineJson, OwnKeysAfterData) {
  auto trend = make<TrendLine>({});
  EXPECT_EQ(trend->to_json(),
            R"({"data":{"id":0,"type_id":"trend_line","display_name":"Trend Line","color":{"stroke":"#2196F3",)"
            R"("fill":null},"width":2.0,"style":"solid","text":null,"locked":false,"visible":true,"z_order":0,)"
            R"("timeframe_visibility":null,"sync_mode":"None","pane_id":null,"window_id":null},)"
            R"("bar1":0.0,"price1":0.0,"bar2":0.0,"price2":0.0,"extend":"None","show_price_labels":false})");
  struct Case {
    std::unique_ptr<Primitive> primitive;
    const char* tail;
  };
  Case cases[] = {
      {make<ExtendedLine>({{1, 2.5}, {3, 4}}), R"("bar1":1.0,"price1":2.5,"bar2":3.0,"price2":4.0})"},
      {make<Ray>({{1, std::nan("")}}), R"("bar1":1.0,"price1":null,"bar2":1.0,"price2":null})"},
      {make<CrossLine>({{4, 150}}), R"("bar":4.0,"price":150.0,"show_price_label":true,"show_bar_label":true})"},
      {make<HorizontalLine>({{7, 101.5}}), R"("price":101.5,"show_price_label":true})"},
      {make<HorizontalRay>({{2, 3}}), R"("bar":2.0,"price":3.0,"show_price_label":true})"},
      {make<VerticalLine>({{12, 99}}), R"("bar_idx":12.0,"show_time_label":true})"},
  };
  for (const Case& c : cases) {
    const std::string json = c.primitive->to_json();
    EXPECT_TRUE(json.ends_with(c.tail)) << json;
  }
  EXPECT_NE(make<HorizontalLine>({})->to_json().find(R"("width":1.0,)"), std::string::npos);
  auto ext = make<TrendLine>({});
  ext->extend = ExtendMode::Both;
  EXPECT_NE(ext->to_json().find(R"("extend":"Both")"), std::string::npos);
}

// The label text, with alignments, on a record.
void label(Primitive& p, PrimitiveTextAlign h, PrimitiveTextAlign v, std::string content = "label") {
  PrimitiveText text = PrimitiveText::make(content);
  text.h_align = h;
  text.v_align = v;
  p.data_mut().text = text;
}

using A = PrimitiveTextAlign;

TEST(LineLabels, NoneWithoutNonEmptyText) {
  testing::Canvas canvas;
  std::unique_ptr<Primitive> all[] = {make<TrendLine>({}),      make<ExtendedLine>({}),  make<Ray>({}),
                                      make<CrossLine>({}),      make<HorizontalLine>({}), make<HorizontalRay>({}),
                                      make<VerticalLine>({})};
  for (auto& p : all) {
    EXPECT_FALSE(p->text_anchor(canvas.ctx)) << p->type_id();
    label(*p, A::Center, A::Center, "");
    EXPECT_FALSE(p->text_anchor(canvas.ctx)) << p->type_id();
    label(*p, A::Center, A::Center, "x");
    const auto anchor = p->text_anchor(canvas.ctx);
    ASSERT_TRUE(anchor) << p->type_id();
    EXPECT_EQ(anchor->color, "#2196F3");
  }
}

TEST(LineLabels, AlongTheLineAndUpright) {
  testing::Canvas canvas;
  auto line = make<TrendLine>({{3, 100}, {13, 150}});  // (35, 200) to (135, 100)
  label(*line, A::Center, A::Center);
  auto a = line->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 85);
  EXPECT_DOUBLE_EQ(a->y, 150);
  EXPECT_DOUBLE_EQ(a->rotation, -std::numbers::pi / 4);
  // Drawn the other way the rotation folds back upright.
  auto back = make<TrendLine>({{13, 150}, {3, 100}});
  label(*back, A::Center, A::Center);
  EXPECT_DOUBLE_EQ(back->text_anchor(canvas.ctx)->rotation, -std::numbers::pi / 4);
  // v_align Start sits above a horizontal line whichever way it runs; End below; 15 px for font 14.
  for (const auto& pts : {std::vector<Point>{{0, 100}, {10, 100}}, std::vector<Point>{{10, 100}, {0, 100}}}) {
    auto flat = make<ExtendedLine>(pts);
    label(*flat, A::Start, A::Start);
    auto above = flat->text_anchor(canvas.ctx);
    EXPECT_DOUBLE_EQ(above->y, 200 - 15);
    EXPECT_DOUBLE_EQ(above->x, pts[0].bar * 10 + 5);
    label(*flat, A::End, A::End);
    auto below = flat->text_anchor(canvas.ctx);
    EXPECT_DOUBLE_EQ(below->y, 200 + 15);
    EXPECT_DOUBLE_EQ(below->x, pts[1].bar * 10 + 5);
    EXPECT_DOUBLE_EQ(below->rotation, 0.0);
  }
  // A zero-length ray: the normal points up.
  auto ray = make<Ray>({{5, 50}});
  label(*ray, A::Start, A::End);
  EXPECT_DOUBLE_EQ(ray->text_anchor(canvas.ctx)->y, 300 - 15);
}

TEST(LineLabels, AxisLinesAndCrossLine) {
  testing::Canvas canvas;
  auto horizontal = make<HorizontalLine>({{0, 100}});  // y = 200
  label(*horizontal, A::End, A::Start);
  auto a = horizontal->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, kCanvasWidth - 50);
  EXPECT_DOUBLE_EQ(a->y, 200 - 15);
  label(*horizontal, A::Start, A::Center);
  EXPECT_DOUBLE_EQ(horizontal->text_anchor(canvas.ctx)->x, 50);

  auto ray = make<HorizontalRay>({{10, 100}});  // (105, 200)
  label(*ray, A::Start, A::End);
  a = ray->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 155);
  EXPECT_DOUBLE_EQ(a->y, 215);
  label(*ray, A::Center, A::Center);
  EXPECT_DOUBLE_EQ(ray->text_anchor(canvas.ctx)->x, (105 + kCanvasWidth) / 2);

  auto vertical = make<VerticalLine>({{12, 0}});  // x = 125
  label(*vertical, A::End, A::Center);
  a = vertical->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 125 + 15);
  EXPECT_DOUBLE_EQ(a->y, kCanvasHeight / 2);
  label(*vertical, A::Start, A::End);
  a = vertical->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 110);
  EXPECT_DOUBLE_EQ(a->y, kCanvasHeight - 50);

  auto cross = make<CrossLine>({{4, 150}});  // (45, 100)
  label(*cross, A::End, A::Start);
  a = cross->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 60);
  EXPECT_DOUBLE_EQ(a->y, 85);
  EXPECT_EQ(a->rotation, 0.0);
}

}  // namespace
}  // namespace qc::primitives::catalog
