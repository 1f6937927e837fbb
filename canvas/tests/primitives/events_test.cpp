// The event markers: factory defaults and JSON records, anchor rules, label anchors, and their glyphs as
// read back from the SVG.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "primitives/catalog/events/breakdown.hpp"
#include "primitives/catalog/events/crossover.hpp"
#include "primitives/catalog/events/custom_event.hpp"
#include "primitives/catalog/events/divergence.hpp"
#include "primitives/catalog/events/momentum_event.hpp"
#include "primitives/catalog/events/pattern_match.hpp"
#include "primitives/catalog/events/trend_event.hpp"
#include "primitives/catalog/events/volume_event.hpp"
#include "primitives/catalog/events/zone_event.hpp"
#include "support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::parse_path;
using testing::SvgElement;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p: (10, 100) is pixel (105, 200).
const std::vector<Point> kAt = {{10, 100}};

template <class T>
std::unique_ptr<T> make(std::vector<Point> points = kAt, std::string_view color = "#26a69a") {
  return T::create(points, color);
}

// The alpha of an "rgba(r,g,b,a)" colour, 1 for an opaque "#rrggbb".
double alpha_of(const std::string& color) {
  if (!color.starts_with("rgba(")) return 1.0;
  return std::stod(color.substr(color.rfind(',') + 1));
}

struct Round {
  double cx, cy, r;
};
// A whole circle as the context writes it: a move to its rightmost point and two half arcs.
Round circle_of(const SvgElement& e) {
  const auto steps = parse_path(e.at("d"));
  EXPECT_GE(steps.size(), 2u) << e.at("d");
  if (steps.size() < 2 || steps[1].op != 'A') {
    ADD_FAILURE() << "not an arc: " << e.at("d");
    return {};
  }
  const double r = steps[1].args[0];
  return {steps[0].args[0] - r, steps[0].args[1], r};
}

std::string body_of(const Primitive& p) {
  testing::Canvas canvas;
  p.render(canvas.ctx, false);
  return std::string(canvas.backend.body());
}

void label(Primitive& p, std::string content, PrimitiveTextAlign v_align = PrimitiveTextAlign::Start) {
  PrimitiveText text = PrimitiveText::make(content);
  text.v_align = v_align;
  p.data_mut().text = text;
}

TEST(EventFactories, DefaultRecords) {
  struct Case {
    std::unique_ptr<Primitive> p;
    const char* display_name;
    double width;
    const char* tail;
  };
  Case cases[] = {
      {make<Crossover>({}), "Crossover", 2.0,
       R"("bar":0.0,"price":0.0,"crossover_type":"moving_average","direction":"bullish","size":16.0,"indicator_name":""})"},
      {make<Breakdown>({{3, 50}}), "Breakdown", 2.0,
       R"("bar":3.0,"price":50.0,"level_price":50.0,"breakdown_type":"support_break","size":16.0,"level_name":""})"},
      {make<Divergence>({{3, 50}}), "Divergence", 2.0,
       R"("bar1":3.0,"price1":50.0,"bar2":13.0,"price2":50.0,"indicator_value1":0.0,"indicator_value2":0.0,)"
       R"("divergence_type":"regular_bullish","line_width":2.0,"indicator_name":""})"},
      {make<PatternMatch>({}), "Custom Pattern", 2.0,
       R"("bar":0.0,"price":0.0,"start_bar":-20.0,"end_bar":0.0,"pattern_type":"custom","confidence":1.0,"size":16.0})"},
      {make<ZoneEvent>({}), "Supply Zone", 1.0,
       R"("bar1":0.0,"bar2":10.0,"price_high":100.0,"price_low":90.0,"zone_type":"supply","action":"active",)"
       R"("strength":1.0,"test_count":0})"},
      {make<VolumeEvent>({}), "Volume Spike", 2.0,
       R"("bar":0.0,"price":0.0,"volume":1000.0,"avg_volume":0.0,"event_type":"spike","size":14.0})"},
      {make<TrendEvent>({}), "Reversal", 2.0,
       R"("bar":0.0,"price":0.0,"event_type":"reversal","size":14.0,"is_bullish_context":true})"},
      {make<MomentumEvent>({}), "Momentum Shift", 2.0,
       R"("bar":0.0,"price":0.0,"event_type":"shift","size":14.0,"indicator_value":0.0,"indicator_name":"",)"
       R"("strength":1.0})"},
      {make<CustomEvent>({}), "custom", 2.0,
       R"("bar":0.0,"price":0.0,"event_type":"custom","style":{"type":"circle","filled":true},"size":16.0,)"
       R"("metadata":"","source":"","priority":5})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p->type_id());
    EXPECT_EQ(c.p->kind(), PrimitiveKind::Event);
    EXPECT_EQ(c.p->display_name(), c.display_name);
    EXPECT_EQ(c.p->data().width, c.width);
    EXPECT_EQ(c.p->data().color.stroke, "#26a69a");
    const std::string json = c.p->to_json();
    EXPECT_TRUE(json.ends_with(c.tail)) << json;
    EXPECT_TRUE(json.starts_with(R"({"data":{"id":0,"type_id":")" + std::string(c.p->type_id()) + "\"")) << json;
  }
}

TEST(EventFactories, DerivedAnchors) {
  EXPECT_EQ(make<ZoneEvent>({{4, 50}})->points(), (std::vector<Point>{{4, 50}, {14, 40}}));
  EXPECT_EQ(make<ZoneEvent>({{4, 50}, {6, 70}, {9, 9}})->points(), (std::vector<Point>{{4, 50}, {6, 70}}));
  EXPECT_EQ(make<Divergence>({{4, 50}, {6, 70}})->points(), (std::vector<Point>{{4, 50}, {6, 70}}));
  EXPECT_EQ(make<Crossover>({{4, 50}, {6, 70}})->points(), (std::vector<Point>{{4, 50}}));
  auto match = make<PatternMatch>({{30, 5}});
  EXPECT_EQ(match->start_bar, 10);
  EXPECT_EQ(match->end_bar, 30);
  EXPECT_EQ(make<Breakdown>({}, "red")->data().color.stroke, "red");
}

TEST(EventAnchors, SetPointsAndTranslate) {
  auto match = make<PatternMatch>({{30, 5}});
  match->translate(3, 2);
  EXPECT_EQ(match->points(), (std::vector<Point>{{33, 7}}));
  EXPECT_EQ(match->start_bar, 13);
  EXPECT_EQ(match->end_bar, 33);
  match->set_points(std::vector<Point>{{1, 1}});
  EXPECT_EQ(match->start_bar, 13);  // the span follows translate only

  auto zone = make<ZoneEvent>({{4, 50}, {6, 70}});
  zone->set_points(std::vector<Point>{{1, 2}});
  EXPECT_EQ(zone->points(), (std::vector<Point>{{1, 2}, {6, 70}}));
  zone->set_points({});
  EXPECT_EQ(zone->points(), (std::vector<Point>{{1, 2}, {6, 70}}));

  auto breakdown = make<Breakdown>({{4, 50}});
  breakdown->translate(1, 10);
  EXPECT_EQ(breakdown->points(), (std::vector<Point>{{5, 60}}));
  EXPECT_EQ(breakdown->level_price, 50);  // the level is not an anchor
}

TEST(EventLabels, AnchorsAboveOrBelowTheMarker) {
  using A = PrimitiveTextAlign;
  struct Case {
    const char* name;
    std::function<std::unique_ptr<Primitive>()> make_primitive;
    A v_align;
    double x, y;
  };
  const Case cases[] = {
      {"crossover start", [] { return make<Crossover>(); }, A::Start, 105, 200 - 23},
      {"crossover end", [] { return make<Crossover>(); }, A::End, 105, 200 + 23},
      {"breakdown center", [] { return make<Breakdown>(); }, A::Center, 105, 200},
      {"divergence bullish", [] { return make<Divergence>(); }, A::End, 205, 200 - 27},
      {"divergence bearish", [] {
         auto d = make<Divergence>();
         d->divergence_type = DivergenceType::HiddenBearish;
         return d;
       }, A::Start, 205, 200 + 27},
      {"pattern neutral", [] { return make<PatternMatch>(); }, A::End, 105, 200 - 23},
      {"pattern bullish", [] {
         auto p = make<PatternMatch>();
         p->pattern_type = PatternType::Hammer;
         return p;
       }, A::Start, 105, 200 + 23},
      {"zone", [] { return make<ZoneEvent>(); }, A::Start, 110, 210},
      {"volume", [] { return make<VolumeEvent>(); }, A::End, 105, 200 - 21},
      {"trend higher high", [] {
         auto t = make<TrendEvent>();
         t->event_type = TrendEventType::HigherHigh;
         return t;
       }, A::Start, 105, 200 + 28},
      {"trend lower low", [] {
         auto t = make<TrendEvent>();
         t->event_type = TrendEventType::LowerLow;
         return t;
       }, A::End, 105, 200 - 28},
      {"momentum acceleration", [] {
         auto m = make<MomentumEvent>();
         m->event_type = MomentumEventType::Acceleration;
         return m;
       }, A::Start, 105, 200 + 28},
      {"momentum shift", [] { return make<MomentumEvent>(); }, A::Start, 105, 200 - 28},
      {"custom", [] { return make<CustomEvent>(); }, A::End, 105, 200 - 23},
  };
  testing::Canvas canvas;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto p = c.make_primitive();
    EXPECT_FALSE(p->text_anchor(canvas.ctx));
    label(*p, "", c.v_align);
    EXPECT_FALSE(p->text_anchor(canvas.ctx));
    label(*p, "event", c.v_align);
    const auto anchor = p->text_anchor(canvas.ctx);
    ASSERT_TRUE(anchor);
    EXPECT_DOUBLE_EQ(anchor->x, c.x);
    EXPECT_DOUBLE_EQ(anchor->y, c.y);
    EXPECT_EQ(anchor->color, "#26a69a");
    EXPECT_EQ(anchor->rotation, 0.0);
  }
}

TEST(Crossover, CrossAndDot) {
  const auto e = draw(*make<Crossover>());
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].at("d"), "M97.50 192.50 L113.50 208.50 M113.50 192.50 L97.50 208.50");
  EXPECT_EQ(e[0].at("stroke"), "#26a69a");
  const Round dot = circle_of(e[1]);
  EXPECT_EQ(dot.cx, 105.5);
  EXPECT_EQ(dot.cy, 200.5);
  EXPECT_EQ(dot.r, 3);
  EXPECT_EQ(e[1].at("fill"), "#26a69a");
  auto bearish = make<Crossover>();
  bearish->direction = CrossoverDirection::Bearish;
  bearish->crossover_type = CrossoverType::Macd;
  EXPECT_EQ(body_of(*bearish), body_of(*make<Crossover>()));
}

TEST(Breakdown, TrianglePointsAwayFromTheLevel) {
  auto at_level = make<Breakdown>();
  auto e = draw(*at_level);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].at("d"), "M73.50 200.50 L137.50 200.50");
  EXPECT_EQ(e[0].at("stroke-dasharray"), "4.00,4.00");
  EXPECT_EQ(e[1].at("d"), "M105.50 208.50 L100.50 200.50 L110.50 200.50 Z");  // down
  EXPECT_EQ(e[1].at("fill"), "#26a69a");
  EXPECT_EQ(e[2].at("d"), "M105.50 200.50 L105.50 200.50");
  EXPECT_FALSE(e[2].has("stroke-dasharray"));

  auto above = make<Breakdown>();
  above->level_price = 90;  // y 220, below the marker
  e = draw(*above);
  EXPECT_EQ(e[0].at("d"), "M73.50 220.50 L137.50 220.50");
  EXPECT_EQ(e[1].at("d"), "M105.50 192.50 L100.50 200.50 L110.50 200.50 Z");  // up, apex 8 px above the base
  EXPECT_EQ(e[2].at("d"), "M105.50 220.50 L105.50 200.50");
}

TEST(Divergence, DashAndTriangleFollowTheType) {
  struct Case {
    DivergenceType type;
    const char* dash;
    const char* triangle;
  };
  const Case cases[] = {
      {DivergenceType::RegularBullish, "4.00,2.00", "M105.50 286.50 L101.50 294.50 L109.50 294.50 Z"},
      {DivergenceType::RegularBearish, "4.00,2.00", "M105.50 314.50 L101.50 306.50 L109.50 306.50 Z"},
      {DivergenceType::HiddenBullish, "6.00,4.00", "M105.50 286.50 L101.50 294.50 L109.50 294.50 Z"},
      {DivergenceType::HiddenBearish, "6.00,4.00", "M105.50 314.50 L101.50 306.50 L109.50 306.50 Z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(json_name(c.type));
    auto d = make<Divergence>({{0, 100}, {10, 50}});  // (5, 200) to (105, 300)
    d->divergence_type = c.type;
    d->line_width = 3;
    d->data_mut().width = 1;
    const auto e = draw(*d);
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].at("d"), "M5.50 200.50 L105.50 300.50");
    EXPECT_EQ(e[0].at("stroke-dasharray"), c.dash);
    EXPECT_EQ(e[0].at("stroke-width"), "3.00");
    const Round first = circle_of(e[1]), second = circle_of(e[2]);
    EXPECT_EQ(first.cx, 5.5);
    EXPECT_EQ(second.cy, 300.5);
    EXPECT_EQ(second.r, 4);
    EXPECT_EQ(e[3].at("d"), c.triangle);
  }
  // Coincident anchors still draw both dots and the triangle.
  EXPECT_EQ(draw(*make<Divergence>({{10, 100}, {10, 100}})).size(), 4u);
}

TEST(PatternMatch, TagShadedByConfidenceWithDirectionGlyph) {
  struct Case {
    PatternType type;
    const char* glyph;  // empty: the round dot
  };
  const Case cases[] = {
      {PatternType::Hammer, "M105.50 196.50 L101.50 202.50 L109.50 202.50 Z"},
      {PatternType::InverseHeadAndShoulders, "M105.50 196.50 L101.50 202.50 L109.50 202.50 Z"},
      {PatternType::HangingMan, "M105.50 204.50 L101.50 198.50 L109.50 198.50 Z"},
      {PatternType::HeadAndShoulders, "M105.50 204.50 L101.50 198.50 L109.50 198.50 Z"},
      {PatternType::Doji, ""},
      {PatternType::Engulfing, ""},
      {PatternType::ImpulseWave, ""},
      {PatternType::Custom, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(json_name(c.type));
    auto p = make<PatternMatch>();
    p->pattern_type = c.type;
    p->size = 40;  // the glyph keeps its size
    const auto e = draw(*p);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].tag, "rect");
    EXPECT_EQ(e[0].number("width"), 60);
    EXPECT_EQ(e[0].number("height"), 40);
    EXPECT_EQ(e[1].at("fill"), "#ffffff");
    if (*c.glyph) {
      EXPECT_EQ(e[1].at("d"), c.glyph);
    } else {
      const Round dot = circle_of(e[1]);
      EXPECT_EQ(dot.r, 3);
      EXPECT_EQ(dot.cx, 105.5);
    }
  }
  EXPECT_EQ(json_name(PatternType::TweezerBottom), "tweezer_bottom");

  auto p = make<PatternMatch>();
  EXPECT_EQ(draw(*p)[0].at("fill"), "#26a69a");
  p->confidence = 0;
  EXPECT_NEAR(alpha_of(draw(*p)[0].at("fill")), 0.5, 0.005);
  const auto e = draw(*p);
  EXPECT_EQ(e[0].at("x"), "93.50");
  EXPECT_EQ(e[0].at("y"), "192.50");
}

TEST(ZoneEvent, OpacityAndOutlineFollowTheAction) {
  struct Case {
    ZoneAction action;
    double strength, fill_alpha, outline_alpha;
    bool dashed;
  };
  const Case cases[] = {
      {ZoneAction::Active, 1.0, 0.6, 0.9, false},   {ZoneAction::Created, 1.0, 0.6, 0.9, false},
      {ZoneAction::Broken, 1.0, 0.2, 0.5, true},    {ZoneAction::Mitigated, 1.0, 0.2, 0.5, true},
      {ZoneAction::Tested, 0.5, 0.25, 0.55, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(json_name(c.action));
    auto zone = make<ZoneEvent>();  // (105, 200) to (205, 220)
    zone->action = c.action;
    zone->strength = c.strength;
    const auto e = draw(*zone);
    ASSERT_EQ(e.size(), 2u);
    for (const SvgElement& rect : e) {
      EXPECT_EQ(rect.tag, "rect");
      EXPECT_EQ(rect.at("x"), "105.00");
      EXPECT_EQ(rect.at("y"), "200.00");
      EXPECT_EQ(rect.at("width"), "100.00");
      EXPECT_EQ(rect.at("height"), "20.00");
    }
    EXPECT_NEAR(alpha_of(e[0].at("fill")), c.fill_alpha, 0.005);
    EXPECT_NEAR(alpha_of(e[1].at("stroke")), c.outline_alpha, 0.005);
    EXPECT_EQ(e[1].has("stroke-dasharray"), c.dashed);
  }
}

TEST(ZoneEvent, BadgeCountsTestsInTheUpperRightCorner) {
  auto zone = make<ZoneEvent>();
  zone->test_count = 4000000000u;
  auto e = draw(*zone);
  ASSERT_EQ(e.size(), 4u);
  const Round badge = circle_of(e[2]);
  EXPECT_EQ(badge.cx, 205 - 12);
  EXPECT_EQ(badge.cy, 200 + 12);
  EXPECT_EQ(badge.r, 8);
  EXPECT_EQ(e[3].content, "4000000000");
  EXPECT_EQ(e[3].number("x"), 190);
  EXPECT_EQ(e[3].number("y"), 215);
  EXPECT_EQ(e[3].at("fill"), "#ffffff");
  EXPECT_EQ(e[3].at("font-size"), "10.0");

  // Given right to left and bottom to top, the zone keeps a positive size and its badge the same corner.
  auto reversed = make<ZoneEvent>({{20, 90}, {10, 100}});
  reversed->test_count = 4000000000u;
  EXPECT_EQ(body_of(*reversed), body_of(*zone));
}

TEST(VolumeEvent, SpikeBarsStandOnACommonBase) {
  auto spike = make<VolumeEvent>();
  spike->size = 10;
  const auto e = draw(*spike);
  ASSERT_EQ(e.size(), 3u);
  const double xs[] = {100.5, 103.5, 106.5};
  const double heights[] = {5, 10, 7};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(e[i].number("x"), xs[i]);
    EXPECT_EQ(e[i].number("width"), 2.5);
    EXPECT_EQ(e[i].number("height"), heights[i]);
    EXPECT_EQ(e[i].number("y") + heights[i], 205.5);
  }
}

TEST(VolumeEvent, EventTypesShareGlyphsByGroup) {
  using enum VolumeEventType;
  const std::vector<std::vector<VolumeEventType>> groups = {
      {Spike, Climax, Breakout}, {DryUp, NoDemand, NoSupply}, {Divergence},
      {Accumulation, Distribution}, {Confirmation, Churning, Stopping, Custom}};
  std::vector<std::string> firsts;
  for (const auto& group : groups) {
    std::string first;
    for (VolumeEventType type : group) {
      auto v = make<VolumeEvent>();
      v->event_type = type;
      v->volume = static_cast<double>(type) * 1e6;  // volumes never change the drawing
      const std::string body = body_of(*v);
      if (first.empty()) first = body;
      EXPECT_EQ(body, first) << json_name(type);
    }
    for (const std::string& other : firsts) EXPECT_NE(first, other);
    firsts.push_back(first);
  }
  auto dots = make<VolumeEvent>();
  dots->event_type = DryUp;
  dots->size = 30;
  const auto e = draw(*dots);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(circle_of(e[0]).r, 2);
  EXPECT_EQ(circle_of(e[1]).cx - circle_of(e[0]).cx, 10);
}

TEST(TrendEvent, ReversalArrowTurnsWithTheContext) {
  auto bullish = make<TrendEvent>();  // size 14: radius 7
  auto e = draw(*bullish);
  ASSERT_EQ(e.size(), 2u);
  auto arc = parse_path(e[0].at("d"));
  ASSERT_EQ(arc.size(), 2u);
  EXPECT_EQ(arc[0].args[0], 105.5 - 7);  // from the left end over the top
  EXPECT_EQ(arc[1].args.back(), 200.5);
  EXPECT_EQ(arc[1].args[5], 105.5 + 7);
  EXPECT_EQ(e[1].at("d"), "M112.50 200.50 L108.50 196.50 L108.50 204.50 Z");

  bullish->is_bullish_context = false;
  e = draw(*bullish);
  arc = parse_path(e[0].at("d"));
  EXPECT_EQ(arc[0].args[0], 105.5 + 7);
  EXPECT_EQ(e[1].at("d"), "M98.50 200.50 L102.50 196.50 L102.50 204.50 Z");
}

TEST(TrendEvent, StructurePointsAndLabelBoxes) {
  struct Case {
    TrendEventType type;
    const char* text;
    double text_x, text_y;
    double box_width;  // 0: a structure tick with its stem
  };
  const Case cases[] = {
      {TrendEventType::SwingHigh, "SH", 99, 189, 0},
      {TrendEventType::HigherHigh, "HH", 99, 189, 0},
      {TrendEventType::SwingLow, "SL", 99, 217, 0},
      {TrendEventType::LowerLow, "LL", 99, 217, 0},
      {TrendEventType::ChangeOfCharacter, "CHoCH", 92.5, 192, 38},
      {TrendEventType::BreakOfStructure, "BoS", 97.5, 192, 26},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto t = make<TrendEvent>();
    t->event_type = c.type;
    const auto e = draw(*t);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].at("d"), "M98.50 200.50 L112.50 200.50");  // the tick
    const SvgElement& text = e[2];
    EXPECT_EQ(text.content, c.text);
    EXPECT_EQ(text.number("x"), c.text_x);
    EXPECT_EQ(text.number("y"), c.text_y);
    if (c.box_width > 0) {
      EXPECT_EQ(e[1].tag, "rect");
      EXPECT_EQ(e[1].number("width"), c.box_width);
      EXPECT_EQ(e[1].number("height"), 14);
      EXPECT_EQ(e[1].number("y"), 182.5);
      EXPECT_EQ(text.at("fill"), "#ffffff");
    } else {
      EXPECT_EQ(text.at("font-size"), "9.0");
      EXPECT_EQ(text.at("fill"), "#26a69a");
    }
  }
  auto custom = make<TrendEvent>();
  custom->event_type = TrendEventType::Custom;
  EXPECT_EQ(short_label(TrendEventType::Custom), "?");
  const auto e = draw(*custom);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].at("d"), "M105.50 193.50 L112.50 200.50 L105.50 207.50 L98.50 200.50 Z");
}

TEST(MomentumEvent, StrengthSetsTheOpacityForTheRenderOnly) {
  auto m = make<MomentumEvent>();
  m->strength = 0;
  testing::Canvas canvas;
  m->render(canvas.ctx, false);
  canvas.ctx.fill_rect(0, 0, 1, 1);
  const auto e = canvas.elements();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(parse_path(e[0].at("d"))[1].op, 'C');
  EXPECT_NEAR(alpha_of(e[0].at("stroke")), 0.5, 0.005);
  EXPECT_EQ(e[1].at("fill"), "#26a69a");
  m->strength = 1;
  EXPECT_EQ(draw(*m)[0].at("stroke"), "#26a69a");
}

TEST(MomentumEvent, Glyphs) {
  auto exhaustion = make<MomentumEvent>();
  exhaustion->event_type = MomentumEventType::Exhaustion;
  exhaustion->size = 12;
  auto e = draw(*exhaustion);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].at("d"), "M99.50 194.50 L111.50 206.50 M111.50 194.50 L99.50 206.50");
  EXPECT_EQ(circle_of(e[1]).r, 8);

  for (auto [type, apex] : {std::pair{MomentumEventType::Oversold, "M105.50 193.50"},
                            std::pair{MomentumEventType::Overbought, "M105.50 207.50"}}) {
    auto band = make<MomentumEvent>();
    band->event_type = type;
    band->strength = 0;
    e = draw(*band);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_NEAR(alpha_of(e[0].at("fill")), 0.3, 0.005);
    EXPECT_EQ(e[0].number("width"), 28);
    EXPECT_EQ(e[1].at("fill"), "#26a69a");  // full opacity whatever the strength
    EXPECT_TRUE(e[1].at("d").starts_with(apex)) << e[1].at("d");
  }

  auto neutral = make<MomentumEvent>();
  neutral->event_type = MomentumEventType::Neutral;
  e = draw(*neutral);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[1].content, "M");
  EXPECT_EQ(e[1].number("x"), 101);
}

TEST(CustomEvent, MarkerStyles) {
  using namespace custom_marker;
  struct Case {
    CustomEventStyle style;
    const char* tag;
    bool filled;
    const char* json;
  };
  const Case cases[] = {
      {Circle{true}, "path", true, R"({"type":"circle","filled":true})"},
      {Circle{false}, "path", false, R"({"type":"circle","filled":false})"},
      {Square{true}, "rect", true, R"({"type":"square","filled":true})"},
      {Square{false}, "rect", false, R"({"type":"square","filled":false})"},
      {Diamond{false}, "path", false, R"({"type":"diamond","filled":false})"},
      {Triangle{false, true}, "path", true, R"({"type":"triangle","up":false,"filled":true})"},
      {Star{5}, "path", true, R"({"type":"star","points":5})"},
      {Cross{}, "path", false, R"({"type":"cross"})"},
      {Plus{}, "path", false, R"({"type":"plus"})"},
      {Arrow{false}, "path", true, R"({"type":"arrow","up":false})"},
      {Path{"M0 0 L5 5"}, "path", false, R"({"type":"path","path_data":"M0 0 L5 5"})"},
  };
  for (const Case& c : cases) {
    auto p = make<CustomEvent>();
    p->style = c.style;
    SCOPED_TRACE(c.json);
    const auto e = draw(*p);
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].tag, c.tag);
    EXPECT_EQ(e[0].at("fill"), c.filled ? "#26a69a" : "none");
    EXPECT_NE(p->to_json().find(std::string(R"("style":)") + c.json + ","), std::string::npos) << p->to_json();
  }

  auto p = make<CustomEvent>();
  p->style = Triangle{false, true};
  EXPECT_EQ(draw(*p)[0].at("d"), "M105.50 208.50 L97.50 192.50 L113.50 192.50 Z");
  p->style = Star{5};
  const auto star = parse_path(draw(*p)[0].at("d"));
  ASSERT_EQ(star.size(), 11u);  // ten vertices and the close
  EXPECT_EQ(star[0].args, (std::vector<double>{105.5, 192.5}));
  EXPECT_EQ(star[5].args, (std::vector<double>{105.5, 203.5}));  // the sixth, inner vertex: 0.2 S straight below
  p->style = Star{0};
  EXPECT_TRUE(draw(*p).empty());
}

TEST(CustomEvent, TextStyles) {
  using namespace custom_marker;
  auto p = make<CustomEvent>();
  for (CustomEventStyle empty : {CustomEventStyle{Icon{}}, CustomEventStyle{Label{"", true}}, CustomEventStyle{Badge{}}}) {
    p->style = empty;
    EXPECT_TRUE(draw(*p).empty());
  }

  p->style = Label{"abc", true};
  auto e = draw(*p);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].number("width"), 29);
  EXPECT_EQ(e[0].number("height"), 16);
  EXPECT_NEAR(e[0].number("x") + 14.5, 105, 1.0);
  EXPECT_NEAR(alpha_of(e[0].at("fill")), 0.8, 0.005);
  EXPECT_EQ(e[1].content, "abc");
  EXPECT_EQ(e[1].number("x"), 94.5);
  EXPECT_EQ(e[1].number("y"), 204);
  EXPECT_EQ(e[1].at("fill"), "#ffffff");

  p->style = Label{"\xC3\xA9\xC3\xA9\xC3\xA9", false};  // three characters, six bytes
  e = draw(*p);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].number("x"), 105 - 21);
  EXPECT_EQ(e[0].at("fill"), "#26a69a");

  p->style = Badge{"7"};
  e = draw(*p);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].number("width"), 19);
  EXPECT_EQ(e[0].number("height"), 18);
  EXPECT_EQ(e[1].number("x"), 102);
  EXPECT_EQ(e[1].at("font-size"), "11.0");

  p->style = Icon{"*"};
  p->size = 24;
  e = draw(*p);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].at("font-size"), "24.0");
  EXPECT_EQ(e[0].number("x"), 97);
  EXPECT_EQ(e[0].number("y"), 208);
}

}  // namespace
}  // namespace qc::primitives::catalog
