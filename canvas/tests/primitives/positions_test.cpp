// The position tools and the image: factories, anchors, JSON, geometry and the positions' texts.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "primitives/catalog/icons/image.hpp"
#include "primitives/catalog/projection/long_position.hpp"
#include "primitives/catalog/projection/short_position.hpp"
#include "support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::of_tag;
using testing::kCanvasHeight;
using testing::kCanvasWidth;
using testing::SvgElement;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.
template <class T>
std::unique_ptr<T> make(std::vector<Point> points, std::string_view color = "#2196F3") {
  return T::create(points, color);
}

TEST(PositionFactories, StopAndTargetFromTheEntryOnEachSide) {
  struct Case {
    std::unique_ptr<Primitive> p;
    std::vector<Point> points;
  };
  Case cases[] = {
      {make<LongPosition>({}), {{0, 100}, {0, 95}, {0, 110}}},
      {make<LongPosition>({{5, 50}}), {{5, 50}, {5, 45}, {5, 60}}},
      {make<ShortPosition>({}), {{0, 100}, {0, 105}, {0, 90}}},
      {make<ShortPosition>({{7, 100}}), {{7, 100}, {7, 105}, {7, 90}}},
      // Given points: [entry, stop, target]; only the prices of the stop and target count.
      {make<LongPosition>({{3, 100}, {9, 97}}), {{3, 100}, {3, 97}, {3, 110}}},
      {make<ShortPosition>({{3, 100}, {9, 101}, {1, 80}, {2, 2}}), {{3, 100}, {3, 101}, {3, 80}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.p->points(), c.points) << c.p->type_id();
    EXPECT_EQ(c.p->data().width, 1.0);
  }
  EXPECT_EQ(make<LongPosition>({})->display_name(), "Long Position");
  EXPECT_EQ(make<ShortPosition>({})->kind(), PrimitiveKind::Projection);
}

TEST(PositionAnchors, SetPointsAndTranslate) {
  auto position = make<LongPosition>({{5, 100}});
  const std::vector<Point> two = {{8, 120}, {1, 90}};
  position->set_points(two);
  EXPECT_EQ(position->points(), (std::vector<Point>{{8, 120}, {8, 90}, {8, 110}}));
  position->translate(2, -10);
  EXPECT_EQ(position->points(), (std::vector<Point>{{10, 110}, {10, 80}, {10, 100}}));
  position->set_points({});
  EXPECT_EQ(position->bar, 10);
}

TEST(PositionJson, OwnKeysAfterData) {
  auto position = make<ShortPosition>({});
  position->quantity = 2.5;
  const std::string json = position->to_json();
  EXPECT_TRUE(json.starts_with(R"({"data":{"id":0,"type_id":"short_position","display_name":"Short Position",)"));
  EXPECT_TRUE(json.ends_with(
      R"("bar":0.0,"entry_price":100.0,"stop_loss":105.0,"take_profit":90.0,"quantity":2.5,"show_pnl":true})"))
      << json;
}

TEST(LongPosition, ZonesAndLinesFromTheEntryToTheRightEdge) {
  auto position = make<LongPosition>({{5, 100}}, "#123456");  // x 55; entry y 200, stop 210, target 180
  position->data_mut().style = LineStyle::Dashed;
  const auto e = draw(*position);
  ASSERT_EQ(e.size(), 5u + 3u);  // and the three texts
  const SvgElement& stop = e[0];
  const SvgElement& target = e[1];
  EXPECT_EQ(stop.at("fill"), "rgba(255,0,0,0.18823529411764706)");
  EXPECT_EQ(stop.number("x"), 55.5);
  EXPECT_EQ(stop.number("y"), 200);
  EXPECT_EQ(stop.number("height"), 10);
  EXPECT_EQ(stop.number("width"), kCanvasWidth - 55);
  EXPECT_EQ(target.at("fill"), "rgba(0,255,0,0.18823529411764706)");
  EXPECT_EQ(target.number("y"), 180);
  EXPECT_EQ(target.number("height"), 20);
  const char* colours[] = {"#ffffff", "#ff0000", "#00ff00"};
  const char* paths[] = {"M55.50 200.50 L800.50 200.50", "M55.50 210.50 L800.50 210.50",
                         "M55.50 180.50 L800.50 180.50"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(e[2 + i].at("stroke"), colours[i]);  // fixed colours: the record's own is not read
    EXPECT_EQ(e[2 + i].at("d"), paths[i]);
    EXPECT_EQ(e[2 + i].at("stroke-dasharray"), "8.00,4.00");
    EXPECT_EQ(e[2 + i].at("stroke-width"), "1.00");
  }
}

TEST(ShortPosition, StopZoneAboveTheEntry) {
  auto position = make<ShortPosition>({{5, 100}});  // stop 105 (y 190), target 90 (y 220)
  const auto rects = of_tag(draw(*position), "rect");
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].number("y"), 190);
  EXPECT_EQ(rects[0].number("height"), 10);
  EXPECT_EQ(rects[1].number("y"), 200);
  EXPECT_EQ(rects[1].number("height"), 20);
}

TEST(PositionTexts, OutcomesAndRewardToRisk) {
  struct Case {
    const char* what;
    std::unique_ptr<Primitive> tool;
    std::vector<std::string> texts;
  };
  const auto long_at = [](double entry, double stop, double target) {
    return make<LongPosition>({{5, entry}, {5, stop}, {5, target}});
  };
  Case cases[] = {
      {"long", long_at(2875, 2790, 3012.5), {"Target 3012.50 (+4.78%)", "Stop 2790.00 (-2.96%)", "R:R 1.62"}},
      {"short", make<ShortPosition>({{5, 100}}), {"Target 90.00 (-10.00%)", "Stop 105.00 (+5.00%)", "R:R 2.00"}},
      {"no risk", long_at(100, 100, 110), {"Target 110.00 (+10.00%)", "Stop 100.00 (0.00%)"}},
      {"a move that rounds to nothing", long_at(100, 99, 100.001), {"Target 100.00 (0.00%)", "Stop 99.00 (-1.00%)", "R:R 0.00"}},
      {"small prices keep their digits", long_at(0.5, 0.45, 0.6), {"Target 0.6000 (+20.00%)", "Stop 0.4500 (-10.00%)", "R:R 2.00"}},
      // From a negative entry a rise is still a gain.
      {"negative entry", long_at(-10, -12, -5), {"Target -5.00 (+50.00%)", "Stop -12.00 (-20.00%)", "R:R 2.50"}},
  };
  for (Case& c : cases) {
    const auto texts = of_tag(draw(*c.tool), "text");
    ASSERT_EQ(texts.size(), c.texts.size()) << c.what;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(texts[i].content, c.texts[i]) << c.what;
      EXPECT_EQ(texts[i].at("font-size"), "10.0") << c.what;
      EXPECT_EQ(texts[i].at("fill"), "#2196f3") << c.what;
    }
  }
}

TEST(PositionTexts, InTheirBoxesAndOnlyWithPnl) {
  auto position = make<LongPosition>({{5, 100}});  // x 55.5 snapped; entry y 200, stop 210, target 180
  auto texts = of_tag(draw(*position), "text");
  ASSERT_EQ(texts.size(), 3u);
  // From the box's left + 4 px, their middles at the boxes' middles, on the central baseline.
  const double middles[] = {190, 205, 190 + 14};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(texts[i].number("x"), 59.5);
    EXPECT_EQ(texts[i].number("y"), middles[i]);
    EXPECT_EQ(texts[i].at("dominant-baseline"), "central");
  }
  position->show_pnl = false;
  EXPECT_TRUE(of_tag(draw(*position), "text").empty());
}

TEST(PositionLabel, InsideTheBoxOfTheThreePrices) {
  testing::Canvas canvas;
  auto position = make<LongPosition>({{5, 100}});  // x 55; y from 180 to 210
  EXPECT_FALSE(position->text_anchor(canvas.ctx));
  PrimitiveText text = PrimitiveText::make("plan");
  text.h_align = PrimitiveTextAlign::Start;
  position->data_mut().text = text;
  auto a = position->text_anchor(canvas.ctx);
  ASSERT_TRUE(a);
  EXPECT_DOUBLE_EQ(a->x, 65);
  EXPECT_DOUBLE_EQ(a->y, 180 + 10 + 7);
  position->data_mut().text->h_align = PrimitiveTextAlign::End;
  position->data_mut().text->v_align = PrimitiveTextAlign::End;
  position->take_profit = std::nan("");  // skipped: the box is entry to stop
  a = position->text_anchor(canvas.ctx);
  EXPECT_DOUBLE_EQ(a->x, kCanvasWidth - 10);
  EXPECT_DOUBLE_EQ(a->y, 210 - 10 - 7);
}

TEST(Image, CrossedBoxAroundTheCentre) {
  auto image = make<Image>({{10, 100}, {99, 99}});  // centre (105, 200); radii 5 bars, 100 price units
  EXPECT_EQ(image->points(), (std::vector<Point>{{10, 100}, {15, 200}}));
  image->url = "https://example.com/a.png";  // the SVG context draws no pictures
  const auto e = draw(*image);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].tag, "rect");
  EXPECT_EQ(e[0].number("x"), 55.5);
  EXPECT_EQ(e[0].number("y"), 0.5);
  EXPECT_EQ(e[0].number("width"), 100);
  EXPECT_EQ(e[0].number("height"), 400);
  EXPECT_EQ(e[1].at("d"), "M55.50 0.50 L155.50 400.50 M155.50 0.50 L55.50 400.50");
  EXPECT_EQ(e[1].at("stroke-width"), "1.00");

  const std::vector<Point> same = {{4, 50}, {4, 50}};
  image->set_points(same);
  EXPECT_EQ(image->radius_bars, 0.5);
  EXPECT_EQ(image->radius_price, 1.0);
  image->translate(1, 1);
  EXPECT_EQ(image->points(), (std::vector<Point>{{5, 51}, {5.5, 52}}));
  EXPECT_TRUE(make<Image>({})->to_json().ends_with(
      R"("center_bar":0.0,"center_price":100.0,"radius_bars":5.0,"radius_price":100.0,"url":""})"));
}

}  // namespace
}  // namespace qc::primitives::catalog
