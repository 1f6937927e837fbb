// The box styles in whole documents: wickless bodies, point-and-figure glyphs and their thinning to one per
// device row, the kagi line's looks at shoulders and waists, the grid ticks of the point-and-figure scale,
// and grouping at many boxes. Coordinates are worked out by hand from the layout rules.
#include "api/box_styles.hpp"
#include "chart_support.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "api/chart.hpp"
#include "api/chart_renderer.hpp"
#include "chart_support.hpp"
#include "coords/price_scale.hpp"
#include "model/series/boxes.hpp"
#include "primitives/support.hpp"
#include "render/engine/svg_format.hpp"

using namespace qc;
using api::SeriesType;
using primitives::testing::SvgElement;
using qc::testing::body_of;

namespace {

const render::Color kUp{0x26, 0xa6, 0x9a, 255}, kDown{0xef, 0x53, 0x50, 255};

std::string css(render::Color c) {
  std::string s;
  render::append_css_color(s, c);
  return s;
}

// Boxes given by open and close (high and low their ends), a day apart.
model::BarColumns boxes_of(const std::vector<std::pair<double, double>>& runs) {
  model::BarColumns bars;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const auto [o, c] = runs[i];
    bars.push_back({static_cast<std::int64_t>(86400 * i), o, std::max(o, c), std::min(o, c), c, 1});
  }
  return bars;
}

// 170 x 140: a plot 100 x 110.
api::Chart chart_of(SeriesType type, model::BarColumns boxes, model::BoxSettings settings = {}, double dpr = 1.0) {
  auto c = api::Chart::make(170, 140);
  c.bars = std::move(boxes);
  c.config.series.series_type = type;
  c.config.series.boxes = settings;
  c.config.dpr = dpr;
  return c;
}

// The elements of a tag painted (`attr`) in the up or down colour.
std::vector<SvgElement> in_trend_colours(const std::vector<SvgElement>& all, std::string_view tag,
                                         std::string_view attr) {
  std::vector<SvgElement> out;
  for (const SvgElement& e : all) {
    if (e.tag == tag && e.has(attr) && (e.at(attr) == css(kUp) || e.at(attr) == css(kDown))) out.push_back(e);
  }
  return out;
}

// Four boxes 10 -> 12 -> 14 -> 12 -> 10: the range [9.8, 14.2] maps 25 px a unit, y = 110 - 25 (v - 9.8);
// slots 25 px wide, bodies 20 px wide from centre - 10, edges snapped down to whole pixels (the prices' pixels
// may land a rounding below a whole one).
TEST(BoxStyles, RenkoAndLineBreakAreWicklessBodies) {
  for (const SeriesType type : {SeriesType::Renko, SeriesType::LineBreak}) {
    const auto body = body_of(chart_of(type, boxes_of({{10, 12}, {12, 14}, {14, 12}, {12, 10}})));
    const auto rects = in_trend_colours(body, "rect", "fill");
    ASSERT_EQ(rects.size(), 4u) << static_cast<int>(type);
    struct Want {
      double x, y;
      render::Color color;
    };
    const Want want[] = {{2, 55, kUp}, {27, 5, kUp}, {52, 5, kDown}, {77, 55, kDown}};
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(rects[i].number("x"), want[i].x) << i;
      EXPECT_NEAR(rects[i].number("y"), want[i].y, 1) << i;
      EXPECT_EQ(rects[i].number("width"), 20) << i;
      EXPECT_NEAR(rects[i].number("height"), 50, 1) << i;
      EXPECT_EQ(rects[i].at("fill"), css(want[i].color)) << i;
    }
    EXPECT_TRUE(in_trend_colours(body, "line", "stroke").empty()) << "no wicks";
  }
}

// An X column 11 .. 14 and an O column 13 .. 11 on a box of 1: the glyphs reach half a box past 11 and 14, so
// the range [10.3, 14.7] maps 25 px a unit; slots 50 px wide, bodies 40 px wide. Four Xs and three circles,
// each on the square of side min(25, 40) centred on its grid price.
TEST(BoxStyles, PointAndFigureGlyphs) {
  const model::BoxSettings box{model::BoxKind::point_and_figure, 1.0, 3, false};
  const auto body = body_of(chart_of(SeriesType::PointAndFigure, boxes_of({{11, 14}, {13, 11}}), box));
  const auto y = [](double v) { return 110 - (v - 10.3) * 25; };
  const auto strokes = in_trend_colours(body, "line", "stroke");
  ASSERT_EQ(strokes.size(), 2 * 4u);
  for (std::size_t i = 0; i < strokes.size(); ++i) {
    EXPECT_EQ(strokes[i].at("stroke"), css(kUp));
    const double price = 11.0 + static_cast<double>(i / 2);  // from the column's low up
    const bool rising = i % 2 == 0;                          // bottom left to top right, then top left down
    EXPECT_NEAR(strokes[i].number("x1"), 12.5, 0.01);  // left: centre 25 - 12.5
    EXPECT_NEAR(strokes[i].number("x2"), 37.5, 0.01);  // right
    EXPECT_NEAR(strokes[i].number("y1"), y(rising ? price - 0.5 : price + 0.5), 0.01) << i;
    EXPECT_NEAR(strokes[i].number("y2"), y(rising ? price + 0.5 : price - 0.5), 0.01) << i;
  }
  const auto circles = in_trend_colours(body, "circle", "stroke");
  ASSERT_EQ(circles.size(), 3u);
  for (std::size_t i = 0; i < circles.size(); ++i) {
    EXPECT_EQ(circles[i].at("stroke"), css(kDown));
    EXPECT_NEAR(circles[i].number("cx"), 75, 0.01);
    EXPECT_NEAR(circles[i].number("cy"), y(11.0 + static_cast<double>(i)), 0.01);
    EXPECT_NEAR(circles[i].number("r"), 12.5, 0.01);
  }
}

// Runs 10 -> 12, 12 -> 11, 11 -> 13, 13 -> 9, 9 -> 10 over [8.8, 13.2] at 25 px a unit (y 30 at 12, 55 at
// 11, 5 at 13, 105 at 9, 80 at 10), slots 20 px wide (centres 10, 30, ...). The third run rises above the
// shoulder 12 and turns thick there; the fourth falls below the waist 11 and turns thin and down there; the
// fifth stays below the shoulder 13 and keeps that look. Lines sit on whole pixels and reach half their
// width past their ends.
TEST(BoxStyles, KagiLooksChangeAtShouldersAndWaists) {
  const auto body =
      body_of(chart_of(SeriesType::Kagi, boxes_of({{10, 12}, {12, 11}, {11, 13}, {13, 9}, {9, 10}})));
  std::vector<std::string> got;
  for (const SvgElement& e : in_trend_colours(body, "line", "stroke")) {
    char s[96];
    std::snprintf(s, sizeof s, "%s w%g %.2f,%.2f %.2f,%.2f", e.at("stroke") == css(kUp) ? "up" : "down",
                  e.number("stroke-width"), e.number("x1"), e.number("y1"), e.number("x2"), e.number("y2"));
    got.emplace_back(s);
  }
  const std::vector<std::string> want = {
      "up w1 10.50,29.50 10.50,80.50",   // run 1
      "up w1 10.00,30.50 31.00,30.50",   // turn at 12
      "up w1 30.50,29.50 30.50,55.50",   // run 2
      "up w1 30.00,55.50 51.00,55.50",   // turn at 11
      "up w1 50.50,29.50 50.50,55.50",   // run 3 up to the shoulder
      "up w2 51.00,4.00 51.00,31.00",    // and above it
      "up w2 49.50,5.00 71.50,5.00",     // turn at 13, thick (y lands a rounding below 5: pixel 4)
      "up w2 71.00,4.00 71.00,56.00",    // run 4 down to the waist
      "down w1 70.50,54.50 70.50,105.50",  // and below it
      "down w1 70.00,105.50 91.00,105.50",  // turn at 9
      "down w1 90.50,79.50 90.50,105.50",   // run 5 keeps the look
  };
  EXPECT_EQ(got, want);
}

// k·box with k the smallest of 1, 2, 5, 10, … leaving 20 px between ticks; each tick the product of a whole
// number and the box; labels with the box's decimals.
TEST(BoxStyles, GridTicks) {
  struct Case {
    const char* name;
    double lo, hi, height, box;
    double step;
    int decimals;
    double first_multiple;  // the first tick over the box
  };
  const Case cases[] = {
      {"k 5 at 4 px a unit", 0, 100, 400, 1, 5, 0, 0},
      {"k 1 at 25 px a box", 10, 11, 100, 0.25, 0.25, 2, 40},
      {"k 5 of 12.3", 1, 1000, 500, 12.3, 61.5, 1, 5},
      {"k 20", 0, 1, 100, 0.001, 0.2, 3, 0},
      {"tiny box", 0, 1e-9, 100, 1e-12, 2e-10, 10, 0},
      {"k 50 below zero", -40, -1, 300, 0.1, 5, 1, -400},
  };
  for (const Case& c : cases) {
    const coords::PriceTicks t = coords::grid_ticks(c.lo, c.hi, c.height, c.box);
    EXPECT_DOUBLE_EQ(t.step, c.step) << c.name;
    EXPECT_EQ(t.label_decimals(), c.decimals) << c.name;
    ASSERT_GT(t.count, 1u) << c.name;
    const double k = std::round(t.step / c.box);
    for (std::size_t i = 0; i < t.count; ++i) {
      // The very double a grid price k'·box is: a product, not a sum of steps.
      EXPECT_EQ(t.values[i], (c.first_multiple + k * static_cast<double>(i)) * c.box) << c.name << " " << i;
      EXPECT_GE(t.values[i], c.lo) << c.name;
      EXPECT_LT(t.values[i], c.hi) << c.name;
    }
    const double px = c.height / (c.hi - c.lo);
    EXPECT_GE(t.step * px, 20 - 1e-9) << c.name;
    const double smaller = k == 1 ? 0 : (std::fmod(std::log10(k), 1.0) < 0.5 && k >= 10 ? k / 2.5 : k / 2);
    EXPECT_LT(smaller * c.box * px, 20) << c.name << ": a smaller k would do";
  }
  // No grid: the usual ticks.
  EXPECT_EQ(coords::grid_ticks(0, 10, 300, 0).step, coords::price_ticks(0, 10, 300).step);
}

// The point-and-figure scale writes its labels with the box's decimals.
TEST(BoxStyles, PointAndFigureScaleLabels) {
  const model::BoxSettings box{model::BoxKind::point_and_figure, 12.3, 3, false};
  auto c = chart_of(SeriesType::PointAndFigure, boxes_of({{12.3, 123}, {110.7, 24.6}}), box);
  c.config.height = 440;  // a main pane of 410 px over about 116 units: k 1, ticks 12.3 apart at 35 px
  std::set<std::string> texts;
  for (const SvgElement& e : body_of(c)) {
    if (e.tag == "text") texts.insert(e.content);
  }
  for (const char* label : {"24.6", "36.9", "49.2", "110.7"}) EXPECT_TRUE(texts.count(label)) << label;
  EXPECT_FALSE(texts.count("24.60"));
}

// With boxes as the chart's bars, the last-price mark quotes the last box's close and the volume band takes
// each box's direction (a renko box that closes down is down whatever the bars under it did).
TEST(BoxStyles, LastPriceAndVolumeFollowTheBoxes) {
  const model::Boxes boxes =
      model::make_boxes(model::BarColumns{{0, 9, 11, 9, 10, 5}, {1, 12, 13, 11, 12.5, 7}, {2, 9, 13, 9, 10, 3}},
                        {model::BoxKind::renko, 1, 0, false});
  ASSERT_EQ(boxes.bars.size(), 3u);  // 10 -> 11 -> 12, then 11 -> 10 down on a bar that rose
  auto c = chart_of(SeriesType::Renko, boxes.bars);
  c.config.show_last_price = true;
  auto band = model::Indicator::make("volume", "Volume")
                  .add_vector(model::IndicatorVector::make("Volume", model::VectorStyle::histogram()));
  band.placement = model::placement::VolumeBand{0.2};
  c.config.indicators.push_back(std::move(band));
  const auto body = body_of(c);
  std::vector<std::string> volume_fills;
  bool mark = false;
  for (const SvgElement& e : body) {
    if (e.tag == "rect" && e.has("fill") && e.at("fill").starts_with("rgba(")) volume_fills.push_back(e.at("fill"));
    mark |= e.tag == "text" && e.content == "10.00";
  }
  const std::string up = "rgba(38,166,154,0.5019607843137255)", down = "rgba(239,83,80,0.5019607843137255)";
  EXPECT_EQ(volume_fills, (std::vector<std::string>{up, up, down}));
  EXPECT_TRUE(mark) << "the last box's close on the scale";
}

// Far more boxes than device columns: bodies one per column, glyphs at most one per device row of a column,
// kagi at most a join and three verticals per column.
TEST(BoxStyles, GroupedAtManyBoxes) {
  model::BarColumns walk;
  for (int i = 0; i < 20000; ++i) {
    const double c = 1000 + 200 * std::sin(i * 0.013) + 30 * std::sin(i * 0.7);
    walk.push_back({i * 60, c, c, c, c, 1});
  }
  struct Case {
    const char* name;
    SeriesType type;
    model::BoxSettings settings;
    double dpr;
  };
  const Case cases[] = {
      {"renko", SeriesType::Renko, {model::BoxKind::renko, 2, 0, false}, 1},
      {"line break", SeriesType::LineBreak, {model::BoxKind::line_break, 0, 2, false}, 2},
      {"point and figure", SeriesType::PointAndFigure, {model::BoxKind::point_and_figure, 0.5, 1, false}, 1},
      {"point and figure at 2", SeriesType::PointAndFigure, {model::BoxKind::point_and_figure, 0.5, 1, false}, 2},
      {"kagi", SeriesType::Kagi, {model::BoxKind::kagi, 3, 0, false}, 1},
  };
  for (const Case& c : cases) {
    const model::Boxes boxes = model::make_boxes(walk, c.settings);
    const double device_columns = 100 * c.dpr;
    ASSERT_GT(static_cast<double>(boxes.bars.size()), 3 * device_columns) << c.name;
    const auto body = body_of(chart_of(c.type, boxes.bars, c.settings, c.dpr));
    std::size_t marks = 0, cross_strokes = 0;
    std::map<long, std::vector<double>> glyphs;  // the glyphs' heights by device column
    for (const SvgElement& e : body) {
      const bool trend = (e.has("fill") && (e.at("fill") == css(kUp) || e.at("fill") == css(kDown))) ||
                         (e.has("stroke") && (e.at("stroke") == css(kUp) || e.at("stroke") == css(kDown)));
      if (!trend || e.tag == "text") continue;
      ++marks;
      double cx = 0, cy = 0;
      if (e.tag == "circle") {
        cx = e.number("cx"), cy = e.number("cy");
      } else if (e.tag == "line" && c.type == SeriesType::PointAndFigure) {
        // A cross is two strokes one after the other, of one centre: one glyph.
        if (++cross_strokes % 2 == 0) {
          --marks;
          continue;
        }
        cx = (e.number("x1") + e.number("x2")) / 2, cy = (e.number("y1") + e.number("y2")) / 2;
      } else {
        continue;
      }
      glyphs[std::lround(std::floor(cx * c.dpr))].push_back(cy);
    }
    // One glyph per device row: no more glyphs than rows between a column's first and last (one more for the
    // heights' rounding in the document). Columns span hundreds of grid prices each.
    for (const auto& [column, heights] : glyphs) {
      const auto [lo, hi] = std::minmax_element(heights.begin(), heights.end());
      EXPECT_LE(static_cast<double>(heights.size()), (*hi - *lo) * c.dpr + 2) << c.name << " column " << column;
    }
    EXPECT_GT(marks, 0u) << c.name;
    const double per_column = c.type == SeriesType::PointAndFigure ? 110 * c.dpr + 1 : 4;
    EXPECT_LE(static_cast<double>(marks), (device_columns + 2) * per_column) << c.name;
  }
}

}  // namespace
