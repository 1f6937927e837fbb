// The shape tools: factories and anchor rules, JSON keys, label anchors and their geometry read from the SVG.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "primitives/catalog/shapes/arc.hpp"
#include "primitives/catalog/shapes/circle.hpp"
#include "primitives/catalog/shapes/curve.hpp"
#include "primitives/catalog/shapes/double_curve.hpp"
#include "primitives/catalog/shapes/ellipse.hpp"
#include "primitives/catalog/shapes/path.hpp"
#include "primitives/catalog/shapes/polyline.hpp"
#include "primitives/catalog/shapes/rectangle.hpp"
#include "primitives/catalog/shapes/rotated_rectangle.hpp"
#include "primitives/catalog/shapes/triangle.hpp"
#include "support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::parse_path;
using A = PrimitiveTextAlign;
using Points = std::vector<Point>;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.
template <class T>
std::unique_ptr<T> make(Points points, std::string_view color = "#2196F3") {
  return T::create(points, color);
}

void label(Primitive& p, A h, A v) {
  PrimitiveText text = PrimitiveText::make("label");
  text.h_align = h;
  text.v_align = v;
  p.data_mut().text = text;
}

void expect_points(const Points& got, const Points& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].bar, want[i].bar, 1e-9) << "point " << i;
    EXPECT_NEAR(got[i].price, want[i].price, 1e-9) << "point " << i;
  }
}

constexpr const char* kTranslucent = "rgba(33,150,243,0.2)";

TEST(Rectangle, SameBoxWhicheverWayTheCornersRun) {
  for (const Points& corners : {Points{{3, 100}, {13, 150}}, Points{{13, 100}, {3, 150}}, Points{{13, 150}, {3, 100}}}) {
    const auto e = draw(*make<Rectangle>(corners));
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].tag, "rect");  // the fill first, unsnapped
    EXPECT_EQ(e[0].at("fill"), kTranslucent);
    EXPECT_EQ(e[0].number("x"), 35);
    EXPECT_EQ(e[0].number("y"), 100);
    EXPECT_EQ(e[0].number("width"), 100);
    EXPECT_EQ(e[0].number("height"), 100);
    EXPECT_EQ(e[1].number("x"), 35.5);  // the outline's corner snapped, its size not
    EXPECT_EQ(e[1].number("y"), 100.5);
    EXPECT_EQ(e[1].number("width"), 100);
    EXPECT_EQ(e[1].at("stroke"), "#2196f3");
  }
  auto outline_only = make<Rectangle>({{3, 100}, {13, 150}});
  outline_only->fill = false;
  EXPECT_EQ(draw(*outline_only).size(), 1u);
}

TEST(Rectangle, FactoryAndAllOrNothingPoints) {
  auto r = make<Rectangle>({{10, 100}});
  expect_points(r->points(), {{10, 100}, {20, 105}});
  r->set_points(Points{{1, 1}});
  expect_points(r->points(), {{10, 100}, {20, 105}});
  r->set_points(Points{{1, 1}, {2, 2}, {3, 3}});
  expect_points(r->points(), {{1, 1}, {2, 2}});
  EXPECT_TRUE(make<Rectangle>({})->to_json().ends_with(
      R"("bar1":0.0,"price1":0.0,"bar2":10.0,"price2":0.0,"fill":true,"fill_opacity":0.2,"border_radius":0.0})"));
}

TEST(Triangle, FilledUnsnappedThenOutlinedSnapped) {
  auto t = make<Triangle>({{50, 200}});
  expect_points(t->points(), {{50, 200}, {60, 210}, {55, 190}});
  EXPECT_TRUE(t->to_json().ends_with(R"("bar1":50.0,"price1":200.0,"bar2":60.0,"price2":210.0,"bar3":55.0,)"
                                     R"("price3":190.0,"fill":true,"fill_opacity":0.2})"));
  const auto e = draw(*make<Triangle>({{3, 100}, {13, 150}, {8, 60}}));
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].at("d"), "M35.00 200.00 L135.00 100.00 L85.00 280.00 Z");
  EXPECT_EQ(e[0].at("fill"), kTranslucent);
  EXPECT_EQ(e[1].at("d"), "M35.50 200.50 L135.50 100.50 L85.50 280.50 Z");
  // As many points as given.
  t->set_points(Points{{0, 0}});
  expect_points(t->points(), {{0, 0}, {60, 210}, {55, 190}});
}

TEST(Triangle, LabelCentredOnTheMeanVertex) {
  testing::Canvas canvas;
  auto t = make<Triangle>({{0, 100}, {30, 100}, {0, 190}});  // x 5..305, y 20..200
  label(*t, A::Center, A::Center);
  auto a = t->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 105);  // mean bar 10, not the box's middle 155
  EXPECT_DOUBLE_EQ(a->y, 140);  // mean price 130
  label(*t, A::End, A::Start);
  a = t->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 295);
  EXPECT_DOUBLE_EQ(a->y, 37);
}

TEST(RotatedRectangle, CornersTurnAboutTheCentre) {
  auto r = make<RotatedRectangle>({});
  r->center_bar = 10;
  r->center_price = 100;
  r->half_width = 2;
  r->half_height = 1;
  r->rotation = 90;
  const auto c = r->corners();
  EXPECT_NEAR(c[0].bar, 11, 1e-12);
  EXPECT_NEAR(c[0].price, 98, 1e-12);
  expect_points(r->points(), {{10, 100}, {11, 102}, {9, 102}});
  const auto e = draw(*r);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(parse_path(e[0].at("d")).size(), 5u);  // four corners and the close
  EXPECT_EQ(e[1].at("d"), "M115.50 204.50 L115.50 196.50 L95.50 196.50 L95.50 204.50 Z");
}

TEST(RotatedRectangle, FactoryHalvesDistancesWhereSetPointsDoesNot) {
  auto r = make<RotatedRectangle>({{0, 100}, {4, 103}, {0, 102}});
  EXPECT_NEAR(r->rotation, std::atan2(3, 4) * 180 / M_PI, 1e-9);
  EXPECT_DOUBLE_EQ(r->half_width, 2.5);
  EXPECT_DOUBLE_EQ(r->half_height, 1.0);
  r->set_points(Points{{0, 100}, {4, 103}, {0, 102}});
  EXPECT_DOUBLE_EQ(r->half_width, 5);
  EXPECT_DOUBLE_EQ(r->half_height, 2);
  r->set_points(Points{{1, 1}, {1, 1}, {1, 1}});  // lower bounds
  EXPECT_DOUBLE_EQ(r->half_width, 1.0);
  EXPECT_DOUBLE_EQ(r->half_height, 0.01);
  auto few = make<RotatedRectangle>({{5, 200}, {9, 9}});  // a second point alone is ignored
  EXPECT_DOUBLE_EQ(few->half_width, 10);
  EXPECT_DOUBLE_EQ(few->half_height, 6);
  EXPECT_EQ(few->rotation, 0);
  few->translate(1, 1);
  EXPECT_EQ(few->center_bar, 6);
  EXPECT_DOUBLE_EQ(few->half_width, 10);
  EXPECT_TRUE(few->to_json().ends_with(R"("center_bar":6.0,"center_price":201.0,"half_width":10.0,)"
                                       R"("half_height":6.0,"rotation":0.0,"fill":true,"fill_opacity":0.2})"));
}

TEST(Curve, ControlBowsAboveTheChord) {
  auto c = make<Curve>({{0, 100}, {10, 120}});  // given as start, end, control
  expect_points(c->points(), {{0, 100}, {5, 116}, {10, 120}});  // read as start, control, end
  auto flat = make<Curve>({{0, 100}, {10, 100}});
  expect_points(flat->points(), {{0, 100}, {5, 100}, {10, 100}});
  expect_points(make<Curve>({})->points(), {{0, 100}, {10, 100}, {20, 100}});
  c->set_points(Points{{0, 100}, {10, 80}, {3, 3}});
  expect_points(c->points(), {{0, 100}, {3, 3}, {10, 80}});
  c->set_points(Points{{0, 100}, {10, 80}});
  expect_points(c->points(), {{0, 100}, {5, 96}, {10, 80}});
  const auto e = draw(*make<Curve>({{0, 100}, {10, 120}}));
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].at("d"), "M5.00 200.00 Q55.00 168.00 105.00 160.00");
  testing::Canvas canvas;
  label(*flat, A::Start, A::Start);  // no alignment offset
  const auto a = flat->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 55);
  EXPECT_DOUBLE_EQ(a->y, 200);
}

TEST(DoubleCurve, DerivedControlsBySourceOfTheCall) {
  struct Case {
    Points given;
    Points want;  // start, end, control 1, control 2
  };
  const Case factory[] = {
      {{}, {{0, 100}, {30, 100}, {9.9, 100}, {20.1, 100}}},
      {{{0, 100}, {10, 120}}, {{0, 100}, {10, 120}, {3.3, 106}, {6.7, 114}}},
      {{{0, 120}, {10, 100}}, {{0, 120}, {10, 100}, {3.3, 126}, {6.7, 94}}},
      {{{0, 100}, {10, 120}, {1, 1}}, {{0, 100}, {10, 120}, {1, 1}, {6.7, 114}}},
  };
  for (const Case& c : factory) expect_points(make<DoubleCurve>(c.given)->points(), c.want);
  auto d = make<DoubleCurve>({});
  d->set_points(Points{{0, 100}, {10, 120}});  // the middle-price rule
  expect_points(d->points(), {{0, 100}, {10, 120}, {3.3, 110}, {6.7, 110}});
  d->set_points(Points{{0, 100}, {10, 120}, {1, 1}});
  expect_points(d->points(), {{0, 100}, {10, 120}, {1, 1}, {6.7, 110}});
  const Points four = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
  d->set_points(four);
  EXPECT_EQ(d->points(), four);
  EXPECT_TRUE(d->to_json().ends_with(R"("start_bar":1.0,"start_price":2.0,"control1_bar":5.0,"control1_price":6.0,)"
                                     R"("control2_bar":7.0,"control2_price":8.0,"end_bar":3.0,"end_price":4.0})"));
  EXPECT_EQ(draw(*d).at(0).at("d"), "M15.00 396.00 C55.00 388.00 75.00 384.00 35.00 392.00");
}

TEST(DoubleCurve, LabelAtTheCurveMidpoint) {
  testing::Canvas canvas;
  auto d = make<DoubleCurve>({{0, 100}, {10, 120}, {0, 100}, {10, 120}});
  label(*d, A::End, A::End);
  const auto a = d->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 55);   // bar 5
  EXPECT_DOUBLE_EQ(a->y, 180);  // price 110
}

TEST(RoundShapes, FactoryRadii) {
  struct Case {
    std::unique_ptr<Primitive> shape;
    Points want;  // centre, then centre plus both radii
  };
  const double nan = std::nan("");
  Case cases[] = {
      {make<Circle>({}), {{0, 0}, {10, 0}}},
      {make<Circle>({{10, 200}}), {{10, 200}, {20, 204}}},
      {make<Circle>({{10, 200}, {10.5, 200.2}}), {{10, 200}, {11, 201}}},
      {make<Circle>({{10, 200}, {nan, 250}}), {{10, 200}, {11, 250}}},
      {make<Circle>({{0, 100}, {5, 110}}), {{0, 100}, {5, 110}}},
      {make<Ellipse>({}), {{0, 100}, {10, 105}}},
      {make<Ellipse>({{10, 200}}), {{10, 200}, {20, 210}}},
      {make<Ellipse>({{10, 200}, {10, 200}}), {{10, 200}, {10, 200}}},
  };
  for (const Case& c : cases) expect_points(c.shape->points(), c.want);
  auto e = make<Ellipse>({});
  e->set_points(Points{{10, 200}, {10, 200}});
  expect_points(e->points(), {{10, 200}, {11, 200.01}});
  auto circle = make<Circle>({{10, 200}, {20, 300}});
  circle->set_points(Points{{10, 200}, {10, 200}});
  expect_points(circle->points(), {{10, 200}, {11, 201}});
  circle->translate(1, 1);
  expect_points(circle->points(), {{11, 201}, {12, 202}});
  EXPECT_TRUE(circle->to_json().ends_with(
      R"("center_bar":11.0,"center_price":201.0,"radius_bars":1.0,"radius_price":1.0,"fill":true,"fill_opacity":0.2})"));
  EXPECT_TRUE(e->to_json().ends_with(
      R"("center_bar":10.0,"center_price":200.0,"radius_bar":1.0,"radius_price":0.01,"fill":true,"fill_opacity":0.2})"));
}

TEST(RoundShapes, FilledEllipseThenOutlineAndBoxLabel) {
  testing::Canvas canvas;
  auto circle = make<Circle>({{20, 100}, {25, 115}});  // centre (205, 200), pixel radii 50 and 30
  const auto e = draw(*circle);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].at("fill"), kTranslucent);
  EXPECT_EQ(e[0].at("d"), e[1].at("d"));
  const auto steps = parse_path(e[1].at("d"));
  ASSERT_EQ(steps.size(), 6u);
  EXPECT_EQ(steps[0].args, (std::vector<double>{155, 200}));  // starts at the left end
  EXPECT_EQ(steps[1].args[5], 170);                            // top at cy - ry
  label(*circle, A::Start, A::End);
  const auto a = circle->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 205 - 40);
  EXPECT_DOUBLE_EQ(a->y, 200 + 13);
  circle->fill = false;
  EXPECT_EQ(draw(*circle).size(), 1u);
}

TEST(Arc, AnglesFromTheThirdPoint) {
  struct Case {
    Points given;
    double radius, end;
  };
  const Case cases[] = {
      {{}, 10, 180},
      {{{0, 100}, {4, 100}, {0, 90}}, 4, 270},
      {{{0, 100}, {4, 100}, {-1, 100}}, 4, 180},
      {{{0, 100}, {0.5, 300}}, 1, 180},
  };
  for (const Case& c : cases) {
    auto arc = make<Arc>(c.given);
    EXPECT_DOUBLE_EQ(arc->radius_bars, c.radius);
    EXPECT_DOUBLE_EQ(arc->end_angle, c.end);
    EXPECT_EQ(arc->start_angle, 0);
  }
  auto arc = make<Arc>({});
  expect_points(arc->points(), {{0, 100}, {10, 100}, {-10, 100}});
  EXPECT_TRUE(arc->to_json().ends_with(
      R"("center_bar":0.0,"center_price":100.0,"radius_bars":10.0,"start_angle":0.0,"end_angle":180.0})"));
  // A half circle of radius 100 px about (5, 200): from its right end through the bottom to its left end.
  const auto e = draw(*arc);
  ASSERT_EQ(e.size(), 1u);
  const auto steps = parse_path(e[0].at("d"));
  ASSERT_FALSE(steps.empty());
  EXPECT_EQ(steps.front().args, (std::vector<double>{105, 200}));
  EXPECT_EQ(steps.back().args[steps.back().args.size() - 2], -95);
  EXPECT_EQ(e[0].at("fill"), "none");
}

TEST(FreeShapes, PolylineOutlineSnappedAndFillRules) {
  auto line = make<Polyline>({{0.52, 190}, {2.5, 179.65}});  // pixels (10.2, 20) and (30, 40.7)
  EXPECT_EQ(draw(*line).at(0).at("d"), "M10.50 20.50 L30.50 41.50");
  auto two = make<Polyline>({{0, 200}, {1, 200}});
  two->closed = two->fill = true;
  const auto closed_two = draw(*two);
  ASSERT_EQ(closed_two.size(), 1u);  // three anchors are needed for a fill
  EXPECT_EQ(closed_two[0].at("d"), "M5.50 0.50 L15.50 0.50 Z");
  auto open = make<Polyline>({{0, 200}, {1, 200}, {0, 195}});
  open->fill = true;
  EXPECT_EQ(draw(*open).size(), 1u);  // not closed, not filled
  open->closed = true;
  const auto filled = draw(*open);
  ASSERT_EQ(filled.size(), 2u);
  EXPECT_EQ(filled[0].at("d"), "M5.00 0.00 L15.00 0.00 L5.00 10.00 Z");
  EXPECT_EQ(filled[0].at("fill"), kTranslucent);
  EXPECT_EQ(filled[1].at("d"), "M5.50 0.50 L15.50 0.50 L5.50 10.50 Z");
  EXPECT_TRUE(open->to_json().ends_with(
      R"("points_data":[[0.0,200.0],[1.0,200.0],[0.0,195.0]],"closed":true,"fill":true,"fill_opacity":0.2})"));
}

TEST(FreeShapes, PathClosedByDefaultAndSmoothedThroughMidpoints) {
  auto path = make<Path>({{0, 200}, {2, 200}, {2, 190}});  // (5, 0), (25, 0), (25, 20)
  EXPECT_EQ(draw(*path).at(0).at("d"), "M5.50 0.50 L25.50 0.50 L25.50 20.50 Z");
  EXPECT_TRUE(path->to_json().ends_with(R"("smooth":false,"closed":true})"));
  path->smooth = true;
  EXPECT_EQ(draw(*path).at(0).at("d"), "M5.00 0.00 L15.00 0.00 Q25.00 0.00 25.00 10.00 L25.00 20.00 Z");
  path->closed = false;
  EXPECT_EQ(draw(*path).at(0).at("d"), "M5.00 0.00 L15.00 0.00 Q25.00 0.00 25.00 10.00 L25.00 20.00");
  path->closed = true;
  path->set_points(Points{{0, 200}, {2, 190}});  // two anchors: straight and snapped
  EXPECT_EQ(draw(*path).at(0).at("d"), "M5.50 0.50 L25.50 20.50 Z");
  EXPECT_TRUE(path->to_json().ends_with(R"("points_data":[[0.0,200.0],[2.0,190.0]],"smooth":true,"closed":true})"));
  EXPECT_TRUE(make<Polyline>({})->to_json().ends_with(R"("closed":false,"fill":false,"fill_opacity":0.2})"));
}

TEST(FreeShapes, EmptyOrSingleAnchorDrawsNothingAndHasNoLabel) {
  testing::Canvas canvas;
  std::unique_ptr<Primitive> shapes[] = {make<Polyline>({{1, 1}, {2, 2}}), make<Path>({{1, 1}, {2, 2}})};
  for (auto& s : shapes) {
    label(*s, A::Start, A::Start);
    EXPECT_TRUE(s->text_anchor(canvas.ctx));
    s->set_points(Points{{1, 1}});
    EXPECT_TRUE(draw(*s).empty());
    s->set_points({});
    EXPECT_TRUE(s->points().empty());
    EXPECT_TRUE(draw(*s).empty());
    EXPECT_FALSE(s->text_anchor(canvas.ctx));
  }
  auto line = make<Polyline>({{0, 150}, {10, 190}, {20, 160}});
  label(*line, A::Start, A::Start);
  const auto a = line->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 15);        // 10 px right of the leftmost anchor
  EXPECT_DOUBLE_EQ(a->y, 20 + 17);   // 10 px and half the font below the highest
}

TEST(ShapeLabels, BoxRuleOfRectangleAndRotatedRectangle) {
  testing::Canvas canvas;
  auto r = make<Rectangle>({{13, 150}, {3, 100}});  // x 35..135, y 100..200
  EXPECT_FALSE(r->text_anchor(canvas.ctx));
  label(*r, A::End, A::End);
  auto a = r->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 125);
  EXPECT_DOUBLE_EQ(a->y, 183);
  EXPECT_EQ(a->color, "#2196F3");
  auto rr = make<RotatedRectangle>({{10, 100}});  // unrotated: bars 0..20, prices 97..103
  label(*rr, A::Start, A::Center);
  a = rr->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, 15);
  EXPECT_DOUBLE_EQ(a->y, 200);
}

}  // namespace
}  // namespace qc::primitives::catalog
