// The arrow tools: triangles by direction, heads along the line, anchors, JSON keys and label anchors.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "primitives/catalog/arrows/arrow_down.hpp"
#include "primitives/catalog/arrows/arrow_line.hpp"
#include "primitives/catalog/arrows/arrow_marker.hpp"
#include "primitives/catalog/arrows/arrow_up.hpp"
#include "support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::SvgElement;

template <class T>
std::unique_ptr<T> make(std::vector<Point> points, std::string_view color = "#26a69a") {
  return T::create(points, color);
}

// Anchor (5, 150) sits at pixel (55, 100) on the test canvas; snapped coordinates add 0.5.
TEST(ArrowMarkers, FilledAndOutlinedTrianglesByDirection) {
  struct Case {
    std::unique_ptr<Primitive> arrow;
    const char* d;
  };
  auto marker = [](ArrowDirection direction) {
    auto m = make<ArrowMarker>({{5, 150}});
    m->direction = direction;
    m->size = 30;
    return m;
  };
  Case cases[] = {
      {make<ArrowUp>({{5, 150}}), "M55.50 90.50 L45.50 110.50 L65.50 110.50 Z"},
      {make<ArrowDown>({{5, 150}}), "M55.50 110.50 L45.50 90.50 L65.50 90.50 Z"},
      {marker(ArrowDirection::Up), "M55.50 85.50 L45.50 115.50 L65.50 115.50 Z"},
      {marker(ArrowDirection::Down), "M55.50 115.50 L45.50 85.50 L65.50 85.50 Z"},
      {marker(ArrowDirection::Left), "M40.50 100.50 L70.50 90.50 L70.50 110.50 Z"},
      {marker(ArrowDirection::Right), "M70.50 100.50 L40.50 90.50 L40.50 110.50 Z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.d);
    const auto e = draw(*c.arrow);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].at("d"), c.d);
    EXPECT_EQ(e[0].at("fill"), "#26a69a");
    EXPECT_EQ(e[1].at("d"), c.d);  // the outline traces the same triangle
    EXPECT_EQ(e[1].at("stroke"), "#26a69a");
    EXPECT_EQ(e[1].at("stroke-width"), "2.00");
  }
}

TEST(ArrowLine, LineThenHeadsAlongItsDirection) {
  auto line = make<ArrowLine>({{0, 100}, {10, 100}});  // (5, 200) to (105, 200)
  auto e = draw(*line);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].at("d"), "M5.50 200.50 L105.50 200.50");
  EXPECT_EQ(e[0].at("fill"), "none");
  // The end head: tip at anchor 2, base 12 px back and 2 x 4.8 px wide.
  EXPECT_EQ(e[1].at("d"), "M105.50 200.50 L93.50 205.50 L93.50 195.50 Z");
  EXPECT_EQ(e[1].at("fill"), "#26a69a");

  line->arrow_start = true;
  line->data_mut().style = LineStyle::Dashed;
  testing::Canvas canvas;
  line->render(canvas.ctx, false);
  canvas.ctx.begin_path();
  canvas.ctx.move_to(0, 0);
  canvas.ctx.stroke();
  e = canvas.elements();
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].at("stroke-dasharray"), "8.00,4.00");
  EXPECT_EQ(e[2].at("d"), "M5.50 200.50 L17.50 205.50 L17.50 195.50 Z");  // the start head comes second
  EXPECT_FALSE(e[3].has("stroke-dasharray"));

  line->arrow_start = false;
  line->arrow_end = false;
  EXPECT_EQ(draw(*line).size(), 1u);
  // Anchors on one pixel: the zero-length line and no head.
  EXPECT_EQ(draw(*make<ArrowLine>({{3, 3}, {3, 3}})).size(), 1u);
}

TEST(ArrowFactories, AnchorsDefaultsAndKinds) {
  EXPECT_EQ(make<ArrowLine>({{4, 7}})->points(), (std::vector<Point>{{4, 7}, {14, 7}}));
  EXPECT_EQ(make<ArrowLine>({})->points(), (std::vector<Point>{{0, 0}, {10, 0}}));
  EXPECT_EQ(make<ArrowMarker>({})->points(), (std::vector<Point>{{0, 0}}));
  EXPECT_EQ(make<ArrowUp>({})->kind(), PrimitiveKind::Event);
  EXPECT_EQ(make<ArrowDown>({})->kind(), PrimitiveKind::Event);
  EXPECT_EQ(make<ArrowMarker>({})->kind(), PrimitiveKind::Annotation);
  EXPECT_EQ(make<ArrowLine>({})->kind(), PrimitiveKind::Annotation);

  auto line = make<ArrowLine>({{1, 1}, {2, 2}});
  line->set_points(std::vector<Point>{{5, 5}});
  EXPECT_EQ(line->points(), (std::vector<Point>{{5, 5}, {2, 2}}));
  line->translate(1, -1);
  EXPECT_EQ(line->points(), (std::vector<Point>{{6, 4}, {3, 1}}));
  auto up = make<ArrowUp>({{1, 1}, {9, 9}});
  up->set_points({});
  up->translate(2, 3);
  EXPECT_EQ(up->points(), (std::vector<Point>{{3, 4}}));
}

TEST(ArrowJson, OwnKeysAfterData) {
  auto marker = make<ArrowMarker>({{5, 150}});
  marker->direction = ArrowDirection::Right;
  const std::pair<std::string, std::string> cases[] = {
      {marker->to_json(), R"(,"bar":5.0,"price":150.0,"direction":"Right","size":20.0})"},
      {make<ArrowLine>({{1, 2}})->to_json(),
       R"(,"bar1":1.0,"price1":2.0,"bar2":11.0,"price2":2.0,"arrow_start":false,"arrow_end":true,"arrow_size":12.0})"},
      {make<ArrowUp>({{1, 2}})->to_json(), R"(,"bar":1.0,"price":2.0,"size":20.0})"},
      {make<ArrowDown>({})->to_json(), R"("display_name":"Arrow Down")"},
  };
  for (const auto& [json, tail] : cases) {
    EXPECT_NE(json.find(tail), std::string::npos) << json;
    EXPECT_NE(json.find(R"("width":2.0,)"), std::string::npos) << json;
  }
}

TEST(ArrowLabels, AboveOnOrBelowTheMarkerAndAlongTheLine) {
  using A = PrimitiveTextAlign;
  testing::Canvas canvas;
  auto up = make<ArrowUp>({{5, 150}});
  EXPECT_FALSE(up->text_anchor(canvas.ctx));
  PrimitiveText text = PrimitiveText::make("buy");
  const std::pair<A, double> rows[] = {{A::Start, 100 - 27}, {A::Center, 100}, {A::End, 100 + 27}};
  for (const auto& [align, y] : rows) {
    text.v_align = align;
    up->data_mut().text = text;
    const auto a = up->text_anchor(canvas.ctx);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->x, 55);
    EXPECT_EQ(a->y, y);
    EXPECT_EQ(a->color, "#26a69a");
  }

  // Rising to the right: the label sits off the midpoint along the normal and turns with the line.
  auto line = make<ArrowLine>({{0, 100}, {10, 100}});
  text.v_align = A::Start;
  line->data_mut().text = text;
  auto a = line->text_anchor(canvas.ctx);
  EXPECT_EQ(a->x, 55);
  EXPECT_EQ(a->y, 200 - 17);
  EXPECT_EQ(a->rotation, 0);
  // A line without length keeps a finite position.
  auto dot = make<ArrowLine>({{3, 100}, {3, 100}});
  dot->data_mut().text = text;
  a = dot->text_anchor(canvas.ctx);
  EXPECT_EQ(a->x, 35);
  EXPECT_EQ(a->y, 200 - 17);
}

}  // namespace
}  // namespace qc::primitives::catalog
