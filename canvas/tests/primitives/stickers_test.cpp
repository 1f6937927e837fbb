// The sticker and the free-hand tools: anchors and radii, pictograms as drawn, stroke smoothing and the
// highlighter's translucent colour.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "primitives/catalog/brushes/brush.hpp"
#include "primitives/catalog/brushes/highlighter.hpp"
#include "primitives/catalog/icons/emoji.hpp"
#include "catalog_support.hpp"

namespace qc::primitives::catalog {
namespace {

using testing::draw;
using testing::make;
using testing::parse_path;
using Points = std::vector<Point>;

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.

TEST(Emoji, FactoryAndSetPointsRadii) {
  auto e = make<Emoji>({{10, 200}});
  EXPECT_EQ(e->points(), (Points{{10, 200}, {15, 250}}));
  EXPECT_EQ(e->data().display_name, "Emoji");
  EXPECT_EQ(e->data().width, 1.0);
  EXPECT_EQ(make<Emoji>({})->points(), (Points{{0, 100}, {5, 150}}));
  auto close = make<Emoji>({{10, 200}, {10.2, 200.5}});
  EXPECT_EQ(close->points(), (Points{{10, 200}, {11, 201}}));
  close->set_points(Points{{10, 200}, {10.2, 200.5}});
  EXPECT_EQ(close->points(), (Points{{10, 200}, {10.5, 201}}));
  close->set_points(Points{{20, 100}});
  close->translate(1, 1);
  EXPECT_EQ(close->points(), (Points{{21, 101}, {21.5, 102}}));
  close->emoji_type = EmojiType::ThumbsDown;
  EXPECT_TRUE(close->to_json().ends_with(
      R"("center_bar":21.0,"center_price":101.0,"radius_bars":0.5,"radius_price":1.0,"emoji_type":"ThumbsDown"})"));
}

TEST(Emoji, TargetInItsFrame) {
  auto e = make<Emoji>({{9.5, 175}, {11.5, 180}});  // centre (100, 50), radii 20 and 10 px
  const auto el = draw(*e);
  ASSERT_EQ(el.size(), 4u);
  const double radii[][2] = {{18, 9}, {10, 5}, {3, 1.5}};
  for (int i = 0; i < 3; ++i) {
    const auto steps = parse_path(el[i].at("d"));
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[0].args, (std::vector<double>{100 - radii[i][0], 50}));
    EXPECT_EQ(steps[1].args[5], 50 - radii[i][1]);
  }
  EXPECT_EQ(el[0].at("stroke-width"), "2.00");
  EXPECT_EQ(el[0].at("fill"), "none");
  EXPECT_EQ(el[2].at("fill"), "#2196f3");  // the bull's eye is filled
  EXPECT_EQ(el[3].at("d"), "M80.00 50.00 L90.00 50.00 M110.00 50.00 L120.00 50.00 M100.00 40.00 L100.00 45.00 "
                           "M100.00 55.00 L100.00 60.00");
}

TEST(Emoji, EveryPictogramDrawsInItsOwnOrFixedColours) {
  const std::set<std::string> fixed = {"none",    "#2196f3", "#ff6b35", "#ffd93d", "#000000", "#ffffff",
                                       "#6b8e23", "#4a6b1a", "#ff9999", "#629632", "#4a7a2a", "#1a1a1a"};
  for (std::size_t i = 0; i < kEmojiTypeCount; ++i) {
    auto e = make<Emoji>({{9.5, 175}, {11.5, 180}});
    e->emoji_type = static_cast<EmojiType>(i);
    const std::string name(json_name(e->emoji_type));
    const auto el = draw(*e);
    ASSERT_FALSE(el.empty()) << name;
    for (const auto& x : el) {
      EXPECT_TRUE(fixed.contains(x.at("fill"))) << name << " fill " << x.at("fill");
      if (x.has("stroke")) {
        EXPECT_TRUE(fixed.contains(x.at("stroke"))) << name << " stroke " << x.at("stroke");
      }
      for (const auto& step : parse_path(x.at("d"))) {
        for (std::size_t k = 0; k + 1 < step.args.size() && step.op != 'A'; k += 2) {
          EXPECT_LE(std::abs(step.args[k] - 100), 22.0) << name;  // about the frame
          EXPECT_LE(std::abs(step.args[k + 1] - 50), 11.0) << name;
        }
      }
    }
  }
  EXPECT_EQ(json_name(EmojiType::ArrowRight), "ArrowRight");
}

TEST(Emoji, StarIsFilledOnlyWithInnerCorners) {
  auto e = make<Emoji>({{9.5, 175}, {11.5, 180}});
  e->emoji_type = EmojiType::Star;
  const auto el = draw(*e);
  ASSERT_EQ(el.size(), 1u);
  EXPECT_EQ(el[0].at("stroke"), "none");
  const auto steps = parse_path(el[0].at("d"));
  ASSERT_EQ(steps.size(), 11u);
  EXPECT_EQ(steps[0].args, (std::vector<double>{100, 40}));  // straight up
  const double inner = 0.4 * std::cos(126 * M_PI / 180);
  EXPECT_NEAR(steps[1].args[0], 100 + inner * 20, 0.006);
}

TEST(Freehand, StrokeShapesByAnchorCount) {
  auto brush = make<Brush>({});
  EXPECT_TRUE(draw(*brush).empty());
  brush->set_points(Points{{0, 200}, {2, 200}, {2, 190}});  // (5, 0), (25, 0), (25, 20)
  auto e = draw(*brush);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].at("d"), "M5.00 0.00 L15.00 0.00 Q25.00 0.00 25.00 10.00 L25.00 20.00");
  EXPECT_EQ(e[0].at("stroke-width"), "3.00");
  brush->set_points(Points{{0, 200}, {2, 190}});
  EXPECT_EQ(draw(*brush).at(0).at("d"), "M5.00 0.00 L25.00 20.00");
  brush->set_points(Points{{0, 200}});  // a dot in the context's transparent fill: nothing stroked
  for (const auto& x : draw(*brush)) EXPECT_FALSE(x.has("stroke") && x.at("stroke") != "none");
  brush->set_points({});
  EXPECT_TRUE(brush->points().empty());
  EXPECT_TRUE(draw(*brush).empty());
}

TEST(Freehand, BrushSizeIsRecordedButNotDrawn) {
  auto brush = make<Brush>({{0, 200}, {2, 190}});
  const std::string before = draw(*brush).at(0).at("stroke-width");
  brush->brush_size = 9;
  EXPECT_EQ(draw(*brush).at(0).at("stroke-width"), before);
  EXPECT_TRUE(brush->to_json().ends_with(R"("points":[[0.0,200.0],[2.0,190.0]],"brush_size":9.0})"));
  EXPECT_TRUE(make<Highlighter>({})->to_json().ends_with(R"("points":[],"brush_size":20.0,"opacity":0.4})"));
}

TEST(Highlighter, TranslucentColourText) {
  struct Case {
    const char* stroke;
    double opacity;
    const char* want;
  };
  const Case cases[] = {
      {"#2196F3", 0.4, "rgba(33, 150, 243, 0.4)"},
      {"#2196F3", 1.0, "rgba(33, 150, 243, 1)"},
      {"#abc", 0.25, "rgba(170, 187, 204, 0.25)"},
      {"#zz0000", 0.4, "rgba(0, 0, 0, 0.4)"},
      {"#+f0000", 0.4, "rgba(15, 0, 0, 0.4)"},
      {"#a+c", 0.4, "rgba(170, 0, 204, 0.4)"},
      {"#2196F3FF", 0.4, "#2196F3FF"},
      {"red", 0.4, "red"},
      {"", 0.4, ""},
      {"rgba(255, 0, 0, 0.8)", 0.4, "rgba(255, 0, 0, 0.4)"},
      {"rgba(255, 0, 0, 0.8) x", 0.4, "rgba(255, 0, 0, 0.4)"},
      {"rgba(255 0 0)", 0.4, "rgba(255 0 0)"},
      {"rgb(1,2,3)", 0.4, "rgba(1,2,3, 0.4)"},
      {"rgb(", 0.4, "rgb("},
      {"#2196F3", 0.0000001, "rgba(33, 150, 243, 0.0000001)"},
      {"#2196F3", std::nan(""), "rgba(33, 150, 243, 0)"},
      {"#2196F3", INFINITY, "rgba(33, 150, 243, 1)"},
  };
  for (const Case& c : cases) EXPECT_EQ(translucent_color(c.stroke, c.opacity), c.want) << c.stroke;

  auto h = make<Highlighter>({{0, 200}, {2, 190}});
  const auto e = draw(*h);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].at("stroke"), "rgba(33,150,243,0.4)");
  EXPECT_EQ(e[0].at("stroke-width"), "20.00");
  EXPECT_EQ(h->data().color.stroke, "#2196F3");  // the record keeps the given text
}

}  // namespace
}  // namespace qc::primitives::catalog
