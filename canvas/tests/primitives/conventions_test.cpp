// Conventions shared by the built-in primitives: snapping, fills, numeric guards, segment extension and
// the anchor and level rules of the common base.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "primitives/catalog/common/caption_numbers.hpp"
#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/primitive_base.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(SnapToPixel, CentresOnTheDevicePixelRoundingHalvesAwayFromZero) {
  struct Case {
    double v, dpr, snapped;
  };
  const Case cases[] = {
      {10.2, 1.0, 10.5}, {10.2, 2.0, 10.25}, {1.3, 2.0, 1.75}, {-3.5, 1.0, -3.5},
      {2.5, 1.0, 3.5},   {-2.5, 1.0, -2.5},  {0.0, 1.0, 0.5},  {7.0, 1.5, 23.0 / 3.0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(snap_to_pixel(c.v, c.dpr), c.snapped) << c.v << " @" << c.dpr;
  EXPECT_TRUE(std::isnan(snap_to_pixel(kNaN, 1.0)));
}

TEST(FillColorWithOpacity, AppendsTheOpacityByte) {
  struct Case {
    const char* stroke;
    double opacity;
    const char* fill;
  };
  const Case cases[] = {
      {"#2196F3", 0.2, "#2196F333"}, {"#2196F3", 0.1, "#2196F319"}, {"#2196F3", 1.0, "#2196F3ff"},
      {"#2196F3", 2.0, "#2196F3ff"}, {"#2196F3", -1.0, "#2196F300"}, {"#2196F3", kNaN, "#2196F300"},
      {"#2196F380", 0.5, "#2196F37f"},                               // an own alpha is replaced
      {"#fff", 0.2, "#ffffff33"},                                    // short hex widened first
      {"red", 0.2, "red"},           {"", 0.2, ""},                  // nothing to take a head from
      {"#2196F\xC3\xA9", 0.2, "#2196F\xC3\xA9"},                    // seventh byte splits a character
      {"rgb(1,2,3)", 0.2, "rgb(1,233"},
  };
  for (const Case& c : cases) EXPECT_EQ(fill_color_with_opacity(c.stroke, c.opacity), c.fill) << c.stroke;
}

// Two decimals from 1 up, at 0 and off the finite line; below 1 the fewest of 4..10 with level >= 10^(3 - d).
TEST(CaptionNumbers, DecimalsByPriceLevel) {
  struct Case {
    double price;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {150.25, 2, "150.25"},
      {1.0, 2, "1.00"},
      {std::nextafter(1.0, 0.0), 4, "1.0000"},
      {0.99, 4, "0.9900"},
      {0.1, 4, "0.1000"},
      {std::nextafter(0.1, 0.0), 5, "0.10000"},
      {0.0999, 5, "0.09990"},
      {0.000301, 7, "0.0003010"},
      {1e-6, 9, "0.000001000"},
      {1e-7, 10, "0.0000001000"},
      {9.9e-8, 10, "0.0000000990"},
      {0.0, 2, "0.00"},
      {kNaN, 2, "NaN"},
      {kInf, 2, "inf"},
      {-kInf, 2, "-inf"},
      {-5.0, 2, "-5.00"},  // a negative price by its level |price|
      {-0.000301, 7, "-0.0003010"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(price_decimals(c.price), c.decimals) << c.price;
    std::string text;
    append_caption_price(text, c.price);
    EXPECT_EQ(text, c.text);
  }
  // A difference takes the larger level of its two prices; a NaN price leaves the other's.
  EXPECT_EQ(change_decimals(0.0003, 0.00033), 7);
  EXPECT_EQ(change_decimals(-2.0, 0.0003), 2);
  EXPECT_EQ(change_decimals(0.0003, -0.05), 5);
  EXPECT_EQ(change_decimals(kNaN, 0.0003), 7);
  EXPECT_EQ(change_decimals(0.0, 0.0), 2);
}

TEST(DashTables, RecordStylesAndLevelStyleNames) {
  using V = std::vector<double>;
  auto v = [](std::span<const double> d) { return V(d.begin(), d.end()); };
  EXPECT_EQ(v(line_style_dash(LineStyle::Solid)), V{});
  EXPECT_EQ(v(line_style_dash(LineStyle::Dotted)), (V{2, 2}));
  EXPECT_EQ(v(line_style_dash(LineStyle::Dashed)), (V{8, 4}));
  EXPECT_EQ(v(line_style_dash(LineStyle::LargeDashed)), (V{12, 6}));
  EXPECT_EQ(v(line_style_dash(LineStyle::SparseDotted)), (V{2, 8}));
  EXPECT_EQ(v(level_style_dash("large_dashed")), (V{12, 6}));
  EXPECT_EQ(v(level_style_dash("sparse_dotted")), (V{2, 8}));
  EXPECT_EQ(v(level_style_dash("dotted")), (V{2, 2}));
  EXPECT_EQ(v(level_style_dash("dashed")), (V{8, 4}));
  EXPECT_EQ(v(level_style_dash("largedashed")), V{});  // the record's spelling is not a level style
  EXPECT_EQ(v(level_style_dash("solid")), V{});
  EXPECT_EQ(v(level_style_dash("")), V{});
}

TEST(SafeMath, SaturatingCastAndNanAwareMinMax) {
  EXPECT_EQ(util::saturating_cast<std::uint32_t>(-5.0), 0u);
  EXPECT_EQ(util::saturating_cast<std::uint32_t>(kNaN), 0u);
  EXPECT_EQ(util::saturating_cast<std::uint32_t>(1e12), 4294967295u);
  EXPECT_EQ(util::saturating_cast<std::uint32_t>(799.9), 799u);
  EXPECT_EQ(util::saturating_cast<std::uint64_t>(kInf), std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(util::saturating_cast<std::int64_t>(-kInf), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(util::saturating_cast<std::uint8_t>(51.0), 51);
  EXPECT_EQ(util::nan_min(kNaN, 3.0), 3.0);
  EXPECT_EQ(util::nan_min(3.0, kNaN), 3.0);
  EXPECT_EQ(util::nan_max(kNaN, -1.0), -1.0);
  EXPECT_EQ(util::nan_max(2.0, 5.0), 5.0);
  EXPECT_TRUE(std::isnan(util::nan_min(kNaN, kNaN)));
}

TEST(ExtendSegment, CarriesTheChosenEndsToTheEdges) {
  const PixelSegment s{100.0, 200.0, 200.0, 150.0};  // rises 50 px per 100 px
  const PixelSegment none = extend_segment(s, ExtendMode::None, 800.0);
  EXPECT_EQ(none.x1, 100.0);
  EXPECT_EQ(none.y2, 150.0);
  const PixelSegment right = extend_segment(s, ExtendMode::Right, 800.0);
  EXPECT_EQ(right.x1, 100.0);
  EXPECT_EQ(right.x2, 800.0);
  EXPECT_DOUBLE_EQ(right.y2, 200.0 - 350.0);
  const PixelSegment left = extend_segment(s, ExtendMode::Left, 800.0);
  EXPECT_EQ(left.x1, 0.0);
  EXPECT_DOUBLE_EQ(left.y1, 250.0);
  EXPECT_EQ(left.x2, 200.0);
  const PixelSegment both = extend_segment(s, ExtendMode::Both, 800.0);
  EXPECT_DOUBLE_EQ(both.y1, 250.0);
  EXPECT_DOUBLE_EQ(both.y2, -150.0);
  // Steep: the same bar, 40 px apart, carried by the factor 1000.
  const PixelSegment steep = extend_segment({50.0, 100.0, 50.0, 140.0}, ExtendMode::Right, 800.0);
  EXPECT_EQ(steep.x2, 800.0);
  EXPECT_EQ(steep.y2, 100.0 + 40000.0);
}

// Test types exercising the anchor forms and level storages of the common base.
struct FixedAnchors final : PrimitiveBase<FixedAnchors> {
  static constexpr BuiltinType kType = BuiltinType::cypher_pattern;
  static constexpr double kDefaultWidth = 3.0;
  std::array<Point, 3> anchors{};
  void write_fields(JsonWriter& w) const { json_entry(w, "points", anchors); }
  void render(RenderContext&, bool) const override {}
};

struct AnchorList final : PrimitiveBase<AnchorList> {
  static constexpr BuiltinType kType = BuiltinType::elliott_triple_combo;
  static constexpr double kDefaultWidth = 2.0;
  static constexpr std::string_view kInstanceName = "Own Name";
  std::vector<Point> anchors;
  std::vector<double> levels = {0.5, 1.0};
  void write_fields(JsonWriter& w) const {
    json_entry(w, "points", anchors);
    json_entry(w, "levels", levels);
  }
  void render(RenderContext&, bool) const override {}
};

struct Leveled final : PrimitiveBase<Leveled> {
  static constexpr BuiltinType kType = BuiltinType::fib_retracement;
  static constexpr double kDefaultWidth = 1.0;
  static constexpr SetRule kSetRule = SetRule::AllOrNothing;
  double bar1 = 0, price1 = 0, bar2 = 0, price2 = 0;
  std::vector<FibLevelConfig> levels = {FibLevelConfig::make(0.382)};
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Leveled>{&Leveled::bar1, &Leveled::price1},
                      AnchorField<Leveled>{&Leveled::bar2, &Leveled::price2}};
  }
  void write_fields(JsonWriter& w) const { json_entry(w, "level_configs", levels); }
  void render(RenderContext&, bool) const override {}
};

TEST(PrimitiveBase, FactoryFillsTheCommonRecord) {
  const Point given[] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
  auto fixed = FixedAnchors::create(std::span(given, 2), "#123456");
  EXPECT_EQ(fixed->type_id(), "cypher_pattern");
  EXPECT_EQ(fixed->display_name(), "Cypher Pattern");
  EXPECT_EQ(fixed->kind(), PrimitiveKind::Pattern);
  EXPECT_EQ(fixed->data().type_id, "cypher_pattern");
  EXPECT_EQ(fixed->data().color.stroke, "#123456");
  EXPECT_FALSE(fixed->data().color.fill);
  EXPECT_EQ(fixed->data().width, 3.0);
  EXPECT_EQ(fixed->points(), (std::vector<Point>{{1, 2}, {3, 4}, {0, 0}}));
  auto list = AnchorList::create(given, "#fff");
  EXPECT_EQ(list->display_name(), "Own Name");
  EXPECT_EQ(list->type_id(), "elliott_triple_combo");
  EXPECT_EQ(list->points().size(), 4u);
}

TEST(PrimitiveBase, SetPointsRules) {
  const Point two[] = {{1, 2}, {3, 4}};
  const Point one[] = {{9, 9}};

  FixedAnchors fixed;
  fixed.set_points(two);
  fixed.set_points(one);  // as many as given: only the first changes
  EXPECT_EQ(fixed.points(), (std::vector<Point>{{9, 9}, {3, 4}, {0, 0}}));
  fixed.set_points({});
  EXPECT_EQ(fixed.points()[0], (Point{9, 9}));

  AnchorList list;
  list.set_points(two);
  EXPECT_EQ(list.points().size(), 2u);
  list.set_points({});  // replace-all: an empty list empties it
  EXPECT_TRUE(list.points().empty());

  Leveled leveled;
  leveled.set_points(one);  // all-or-nothing: one point of two changes nothing
  EXPECT_EQ(leveled.points(), (std::vector<Point>{{0, 0}, {0, 0}}));
  leveled.set_points(two);
  EXPECT_EQ(leveled.points(), (std::vector<Point>{{1, 2}, {3, 4}}));
}

TEST(PrimitiveBase, TranslateMovesEveryAnchor) {
  Leveled leveled;
  const Point two[] = {{1, 2}, {3, 4}};
  leveled.set_points(two);
  leveled.translate(0, 0);
  EXPECT_EQ(leveled.points(), (std::vector<Point>{{1, 2}, {3, 4}}));
  leveled.translate(10, -1);
  EXPECT_EQ(leveled.points(), (std::vector<Point>{{11, 1}, {13, 3}}));
  AnchorList list;
  list.set_points(two);
  list.translate(1, 1);
  EXPECT_EQ(list.points(), (std::vector<Point>{{2, 3}, {4, 5}}));
}

TEST(PrimitiveBase, LevelStorages) {
  FixedAnchors none;
  EXPECT_FALSE(none.level_configs());
  EXPECT_FALSE(none.set_level_configs({FibLevelConfig::make(1.0)}));

  Leveled configs;
  FibLevelConfig styled = FibLevelConfig::make(0.618);
  styled.color = "#ff0000";
  EXPECT_TRUE(configs.set_level_configs({styled}));
  ASSERT_EQ(configs.level_configs()->size(), 1u);
  EXPECT_EQ(configs.level_configs()->front().color, "#ff0000");

  AnchorList ratios;
  const auto reported = ratios.level_configs();
  ASSERT_EQ(reported->size(), 2u);
  EXPECT_EQ((*reported)[1].level, 1.0);
  EXPECT_EQ((*reported)[1].fill_opacity, 0.1);
  EXPECT_TRUE(ratios.set_level_configs({styled, FibLevelConfig::make(2.0)}));
  EXPECT_EQ(ratios.levels, (std::vector<double>{0.618, 2.0}));  // only the ratios are kept
}

TEST(PrimitiveBase, CloneIsADeepCopyAndJsonStartsWithData) {
  const Point given[] = {{1, 2}};
  auto original = AnchorList::create(given, "#fff");
  auto copy = original->clone_box();
  original->translate(5, 5);
  original->data_mut().display_name = "changed";
  EXPECT_EQ(copy->points(), (std::vector<Point>{{1, 2}}));
  EXPECT_EQ(copy->display_name(), "Own Name");
  const std::string json = copy->to_json();
  EXPECT_EQ(json.rfind(R"({"data":{"id":0,"type_id":"elliott_triple_combo","display_name":"Own Name",)", 0), 0u)
      << json;
  EXPECT_NE(json.find(R"(},"points":[[1.0,2.0]],"levels":[0.5,1.0]})"), std::string::npos) << json;
}

}  // namespace
}  // namespace qc::primitives::catalog
