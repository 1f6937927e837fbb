// The position tools, the fixed volume profile and the image: factories, anchors, JSON and geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "primitives/catalog/icons/image.hpp"
#include "primitives/catalog/projection/long_position.hpp"
#include "primitives/catalog/projection/short_position.hpp"
#include "primitives/catalog/volume/fixed_volume_profile.hpp"
#include "support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::kCanvasHeight;
using testing::kCanvasWidth;
using testing::SvgElement;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.
template <class T>
std::unique_ptr<T> make(std::vector<Point> points, std::string_view color = "#2196F3") {
  return T::create(points, color);
}

std::vector<SvgElement> of_tag(const std::vector<SvgElement>& all, std::string_view tag) {
  std::vector<SvgElement> out;
  for (const auto& e : all) {
    if (e.tag == tag) out.push_back(e);
  }
  return out;
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
  ASSERT_EQ(e.size(), 5u);
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

TEST(FixedVolumeProfile, BoundariesRowsAndLines) {
  auto profile = make<FixedVolumeProfile>({{30, 1}, {10, 2}});  // left 105, right 305
  EXPECT_EQ(profile->points(), (std::vector<Point>{{30, 0}, {10, 0}}));
  EXPECT_EQ(make<FixedVolumeProfile>({{4, 1}})->bar2, 54);
  const auto e = draw(*profile);
  ASSERT_EQ(e.size(), 2u + 24u + 3u);
  EXPECT_EQ(e[0].at("d"), "M105.50 0.00 L105.50 600.00");
  EXPECT_EQ(e[1].at("d"), "M305.50 0.00 L305.50 600.00");
  // Row i is a rectangle from the right boundary; row 12 is the longest, 0.3 of the span; row 0 is empty.
  const auto bar_of = [&](int i) { return testing::parse_path(e[2 + static_cast<std::size_t>(i)].at("d")); };
  EXPECT_EQ(bar_of(12)[0].args, (std::vector<double>{305, 300}));
  EXPECT_EQ(bar_of(12)[1].args, (std::vector<double>{365, 300}));
  EXPECT_EQ(bar_of(0)[1].args, (std::vector<double>{305, 0}));
  EXPECT_EQ(bar_of(6)[1].args, (std::vector<double>{335, 150}));
  EXPECT_EQ(e[2].at("fill"), "rgba(33,150,243,0.4980392156862745)");
  const SvgElement& poc = e[26];
  EXPECT_EQ(poc.at("d"), "M105.50 300.50 L305.50 300.50");
  EXPECT_EQ(poc.at("stroke"), "#ffeb3b");
  EXPECT_EQ(poc.at("stroke-width"), "2.00");
  EXPECT_EQ(e[27].at("d"), "M105.50 210.50 L305.50 210.50");
  EXPECT_EQ(e[28].at("d"), "M105.50 390.50 L305.50 390.50");
  EXPECT_EQ(e[27].at("stroke-dasharray"), "5.00,3.00");
  EXPECT_EQ(e[27].at("stroke"), "rgba(33,150,243,0.2980392156862745)");

  profile->rows = 0;
  profile->show_poc = false;
  EXPECT_EQ(draw(*profile).size(), 4u);  // boundaries and value area only
  EXPECT_EQ(profile->to_json().substr(profile->to_json().find("\"bar1\"")),
            R"("bar1":30.0,"bar2":10.0,"rows":0,"show_poc":false,"show_value_area":true})");
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
