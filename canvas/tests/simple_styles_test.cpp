// The simple main-series styles in whole documents: the baseline's fill and line split where the closes
// cross its level, its level in the main range, the columns' range from closes, the step line's turns, and
// the log scale's crossings. Coordinates are worked out by hand from the layout rules.
#include "api/simple_styles.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "api/chart.hpp"
#include "api/chart_renderer.hpp"
#include "api/value_range.hpp"
#include "chart_support.hpp"
#include "primitives/support.hpp"
#include "render/engine/svg_format.hpp"

using namespace qc;
using api::SeriesType;
using primitives::testing::SvgElement;
using qc::testing::body_of;
using qc::testing::elements_of;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// 170 x 140: plot 100 x 110; four bars 25 apart (centres 12.5, 37.5, 62.5, 87.5); lows 1 and highs 21 give
// the range [0, 22], so y = 110 - 5 v. Closes 16, 6, 10, 16.
api::Chart four_bars(SeriesType type, std::optional<double> level = std::nullopt) {
  auto c = api::Chart::make(170, 140);
  c.bars = {{0, 6, 21, 1, 16, 100}, {86400, 16, 21, 1, 6, 50}, {172800, kNaN, 21, 1, 10, 100}, {259200, 6, 21, 1, 16, 0}};
  c.config.series = api::SeriesConfig{type, std::nullopt, level, {}};
  return c;
}

std::string css(render::Color c) {
  std::string s;
  render::append_css_color(s, c);
  return s;
}

// The `d` of the paths with the attribute's text, in document order.
std::vector<std::string> paths_where(const std::vector<SvgElement>& all, std::string_view attr,
                                     std::string_view value) {
  std::vector<std::string> out;
  for (const SvgElement& e : all) {
    if (e.tag == "path" && e.has(attr) && e.at(attr) == value) out.push_back(e.at("d"));
  }
  return out;
}

const render::Color kUp{0x26, 0xa6, 0x9a, 255}, kDown{0xef, 0x53, 0x50, 255};

// Level 12 (y 50): the closes cross it between bars 0 and 1 at 4/10 of the way (x 22.5) and between bars 2
// and 3 at 2/6 (x 70.83), so fill and line each split into three runs, up, down, up.
TEST(SimpleStyles, BaselineSplitsAtEachCrossing) {
  const auto body = elements_of(four_bars(SeriesType::Baseline, 12.0));  // a run of two points stays a path
  render::Color up_fill = kUp, down_fill = kDown;
  up_fill.a = down_fill.a = 0x33;
  EXPECT_EQ(paths_where(body, "fill", css(up_fill)),
            (std::vector<std::string>{"M12.50 30.00 L22.50 50.00 L12.50 50.00 Z",
                                      "M70.83 50.00 L87.50 30.00 L87.50 50.00 Z"}));
  EXPECT_EQ(paths_where(body, "fill", css(down_fill)),
            (std::vector<std::string>{"M22.50 50.00 L37.50 80.00 L62.50 60.00 L70.83 50.00 L62.50 50.00 L37.50 50.00 Z"}));
  EXPECT_EQ(paths_where(body, "stroke", css(kUp)),
            (std::vector<std::string>{"M12.50 30.00 L22.50 50.00", "M70.83 50.00 L87.50 30.00"}));
  EXPECT_EQ(paths_where(body, "stroke", css(kDown)),
            (std::vector<std::string>{"M22.50 50.00 L37.50 80.00 L62.50 60.00 L70.83 50.00"}));
  std::size_t dotted = 0;
  for (const SvgElement& e : body_of(four_bars(SeriesType::Baseline, 12.0))) {
    if (e.tag != "line" || !e.has("stroke-dasharray")) continue;
    ++dotted;
    EXPECT_EQ(e.at("stroke-dasharray"), "2.00,2.00");
    EXPECT_EQ(e.at("stroke"), "#787b86");
    EXPECT_EQ(e.number("y1"), 50);
    EXPECT_EQ(e.number("y2"), 50);
    EXPECT_EQ(e.number("x2"), 100);
  }
  EXPECT_EQ(dotted, 1u);
}

// On a log scale the line between two bars is straight in pixels: closes 10 and 40 cross the level 20 half
// way between them in pixels (log 2 of log 4), at x 50 of centres 25 and 75, on the dotted level's height.
TEST(SimpleStyles, BaselineCrossingOnTheLineWithTheLogScale) {
  auto c = api::Chart::make(170, 140);
  c.bars = {{0, 10, 10, 10, 10, 0}, {86400, 40, 40, 40, 40, 0}};
  c.config.series = api::SeriesConfig{SeriesType::Baseline, std::nullopt, 20.0, {}};
  c.config.price_scale = api::PriceScaleMode::log;
  const auto body = elements_of(c);
  double level_y = kNaN;
  for (const SvgElement& e : body_of(c)) {
    if (e.tag == "line" && e.has("stroke-dasharray")) level_y = e.number("y1");
  }
  ASSERT_TRUE(std::isfinite(level_y));
  const auto down = paths_where(body, "stroke", css(kDown));
  ASSERT_EQ(down.size(), 1u);
  const std::string at_level = "L50.00 " + [&] {
    char s[32];
    std::snprintf(s, sizeof s, "%.2f", level_y);
    return std::string(s);
  }();
  EXPECT_NE(down[0].find(at_level), std::string::npos) << down[0] << " vs " << at_level;
  EXPECT_EQ(paths_where(body, "stroke", css(kUp)).size(), 1u);
}

TEST(SimpleStyles, BaselineLevel) {
  const model::BarColumns bars{{0, 1, 2, 0, kNaN, 0}, {1, 1, 2, 0, 1.5, 0}, {2, 1, 2, 0, 1.75, 0}};
  const model::BarColumns no_closes{{0, 1, 2, 0, kNaN, 0}};
  struct Case {
    const char* name;
    SeriesType type;
    std::optional<double> asked;
    model::BarsView drawn;
    std::optional<double> level;
  };
  const Case cases[] = {
      {"the first finite close drawn", SeriesType::Baseline, std::nullopt, bars, 1.5},
      {"of a view", SeriesType::Baseline, std::nullopt, model::BarsView(bars).subview(2, 1), 1.75},
      {"as asked", SeriesType::Baseline, -3.0, bars, -3.0},
      {"no finite close", SeriesType::Baseline, std::nullopt, no_closes, std::nullopt},
      {"another style", SeriesType::Line, 2.0, bars, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(api::baseline_level(api::SeriesConfig{c.type, std::nullopt, c.asked, {}}, c.drawn), c.level) << c.name;
  }
}

// Columns range over their closes only; the baseline's level counts wherever it lies.
TEST(SimpleStyles, MainRangeOfTheSeries) {
  const model::BarColumns bars{{0, 5, 30, 2, 10, 0}, {1, 10, 25, 1, 20, 0}, {2, 20, 22, kNaN, 15, 0}};
  struct Case {
    const char* name;
    SeriesType type;
    std::optional<double> level;
    double lo, hi;
  };
  const Case cases[] = {
      {"candles: lows and highs", SeriesType::Candlesticks, std::nullopt, 1, 30},
      {"columns: closes", SeriesType::Columns, std::nullopt, 10, 20},
      {"high-low: lows and highs", SeriesType::HighLow, std::nullopt, 1, 30},
      {"a level above", SeriesType::Baseline, 40.0, 1, 40},
      {"a level below", SeriesType::Baseline, -5.0, -5, 30},
  };
  for (const Case& c : cases) {
    const auto ends = api::price_pane_ends(api::ranged_bars(c.type, bars), {}, {}, c.level);
    ASSERT_TRUE(ends) << c.name;
    EXPECT_EQ(ends->lo, c.lo) << c.name;
    EXPECT_EQ(ends->hi, c.hi) << c.name;
  }
}

// Horizontal to the next bar's centre, then vertical; in the up colour, 3 px wide as line() draws.
TEST(SimpleStyles, StepLineTurnsAtEachCentre) {
  const auto body = body_of(four_bars(SeriesType::StepLine));
  EXPECT_EQ(paths_where(body, "stroke", css(kUp)),
            (std::vector<std::string>{"M12.50 30.00 L37.50 30.00 L37.50 80.00 L62.50 80.00 L62.50 60.00 L87.50 "
                                      "60.00 L87.50 30.00"}));
}

// Columns stand on the main pane's bottom (110): the range is [5.5, 16.5] (closes 6 to 16, padded by half a
// unit), y = 110 - 10 (v - 5.5).
TEST(SimpleStyles, ColumnsInAChart) {
  const auto body = body_of(four_bars(SeriesType::Columns));
  std::vector<std::string> rects;
  for (const SvgElement& e : body) {
    if (e.tag == "rect" && e.has("fill") && (e.at("fill") == css(kUp) || e.at("fill") == css(kDown))) {
      rects.push_back(e.at("fill") + " " + e.at("y") + " " + e.at("height"));
    }
  }
  // 16 >= open 6; 6 < 16; 10 >= 6; 16 >= 10: the up columns in bar order, then the down one.
  EXPECT_EQ(rects, (std::vector<std::string>{css(kUp) + " 5.00 105.00", css(kUp) + " 65.00 45.00",
                                             css(kUp) + " 5.00 105.00", css(kDown) + " 105.00 5.00"}));
}

}  // namespace
