// Hollow candles, columns and high-low bars against elements worked out by hand: colours by the previous
// finite close, hollow and filled bodies, the wick's two pieces, and one mark per device column.
#include "render/chart/bar_styles.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace qc::render {
namespace {

const double kNaN = std::nan("");
constexpr const char* kUpText = "#26a69a";
constexpr const char* kDownText = "#ef5350";

// Prices 0..100 over 100 pixels: y = 100 - price; the pane's bottom is 100.
const coords::PriceMapping kMapping{0, 100, 0, 100};

std::string fixed(double v) {
  char s[32];
  std::snprintf(s, sizeof s, "%.2f", v);
  return s;
}

std::string wick(double x, double y1, double y2, const char* color) {
  return "<line x1=\"" + fixed(x) + "\" y1=\"" + fixed(y1) + "\" x2=\"" + fixed(x) + "\" y2=\"" + fixed(y2) +
         "\" stroke=\"" + color + "\" stroke-width=\"1.00\"/>\n";
}

std::string filled(double x, double y, double w, double h, const char* color) {
  return "<rect x=\"" + fixed(x) + "\" y=\"" + fixed(y) + "\" width=\"" + fixed(w) + "\" height=\"" + fixed(h) +
         "\" fill=\"" + color + "\"/>\n";
}

std::string hollow(double x, double y, double w, double h, const char* color) {
  return "<rect x=\"" + fixed(x) + "\" y=\"" + fixed(y) + "\" width=\"" + fixed(w) + "\" height=\"" + fixed(h) +
         "\" stroke=\"" + color + "\" stroke-width=\"1.00\" fill=\"none\"/>\n";
}

// Spacing 10 (centres 5, 15, ...), candle width 8 (bodies from centre - 4), dpr 1. Bar 3 lacks a high, so it
// draws nothing, yet its close 40 is the one bar 4 is weighed against (42 >= 40: up; against bar 2's 48 it
// would be down).
const model::BarColumns kBars{{0, 10, 60, 5, 50, 0},
                              {1, 60, 70, 20, 45, 0},
                              {2, 30, 50, 25, 48, 0},
                              {3, 50, kNaN, 40, 40, 0},
                              {4, 35, 45, 33, 42, 0}};

// The first bar's colour, with or without a close before the bars given.
struct FirstBar {
  const char* name;
  double close_before;
  const char* first_color;
};

TEST(BarStyles, HollowCandlesColouredByThePreviousClose) {
  // The first bar goes by its own close against its open (50 >= 10), or by the close before the view (55).
  const FirstBar cases[] = {{"no close before", kNaN, kUpText}, {"a close before", 55, kDownText}};
  for (const FirstBar& c : cases) {
    const std::string expected =
        // Up bar, hollow: wick pieces above (from the high's hairline to the body) and below, a 1 px stroke
        // inside the body's edges.
        wick(5.5, 40.5, 50, c.first_color) + wick(5.5, 90, 95.5, c.first_color) +
        hollow(1.5, 50.5, 7, 39, c.first_color) +
        // 45 < 50: down, and filled as it closes below its open.
        wick(15.5, 30.5, 40, kDownText) + wick(15.5, 55, 80.5, kDownText) + filled(11, 40, 8, 15, kDownText) +
        // 48 >= 45: up, hollow.
        wick(25.5, 50.5, 52, kUpText) + wick(25.5, 70, 75.5, kUpText) + hollow(21.5, 52.5, 7, 17, kUpText) +
        wick(45.5, 55.5, 58, kUpText) + wick(45.5, 65, 67.5, kUpText) + hollow(41.5, 58.5, 7, 6, kUpText);
    SvgBackend out(100, 100, 1);
    render_hollow_candles(out, kBars, {kUpText, kDownText, c.close_before}, 10, kMapping, 8, 1);
    EXPECT_EQ(out.body(), expected) << c.name;
  }
}

TEST(BarStyles, HollowBodyTooSmallForAHoleIsFilled) {
  // A flat bar's body is one pixel high; a stroke inside it would have no room.
  const model::BarColumns flat{{0, 50, 60, 40, 50, 0}};
  SvgBackend out(100, 100, 1);
  render_hollow_candles(out, flat, {kUpText, kDownText, kNaN}, 10, kMapping, 8, 1);
  EXPECT_EQ(out.body(), wick(5.5, 40.5, 50, kUpText) + wick(5.5, 51, 60.5, kUpText) + filled(1, 50, 8, 1, kUpText));
}

TEST(BarStyles, ColumnsFromTheBottomToTheClose) {
  // First bar: 50 below its open 60 (down), or at least the close 45 before it (up).
  const FirstBar cases[] = {{"no close before", kNaN, kDownText}, {"a close before", 45, kUpText}};
  const model::BarColumns bars{
      {0, 60, 70, 40, 50, 0}, {1, kNaN, kNaN, kNaN, 40, 0}, {2, 40, 50, 30, kNaN, 0}, {3, 40, 50, 30, 45, 0}};
  for (const FirstBar& c : cases) {
    SvgBackend out(100, 100, 1);
    render_columns(out, bars, {kUpText, kDownText, c.close_before}, 10, kMapping, 8, 1);
    // Bar 1 has only its close, which is all a column needs; bar 2 has none.
    EXPECT_EQ(out.body(), filled(1, 50, 8, 50, c.first_color) + filled(11, 60, 8, 40, kDownText) +
                              filled(31, 55, 8, 45, kUpText))
        << c.name;
  }
}

TEST(BarStyles, HighLowColouredAsOhlcBars) {
  SvgBackend out(100, 100, 1);
  render_high_low(out, kBars, kUpText, kDownText, 10, kMapping, 8, 1);
  // By close against open, whatever the close before: bar 4 (42 >= 35) up, bar 1 (45 < 60) down.
  EXPECT_EQ(out.body(), filled(1, 40, 8, 55, kUpText) + filled(11, 30, 8, 50, kDownText) +
                            filled(21, 50, 8, 25, kUpText) + filled(41, 55, 8, 12, kUpText));
}

// Four bars 0.5 px apart at ratio 1: bars 0-1 share column 0, bars 2-3 column 1. Group 0's aggregate is
// open 10, high 70, low 5, close 45; group 1's open 45, high 50, low 20, close 44, below the 45 that closed
// group 0 (though above bar 2's 40) and below its own open.
TEST(BarStyles, OneMarkPerDeviceColumn) {
  const model::BarColumns bars{
      {0, 10, 60, 5, 50, 0}, {1, 50, 70, 40, 45, 0}, {2, 45, 50, 30, 40, 0}, {3, 35, 46, 20, 44, 0}};
  const DeviceColumns columns{1.0, 0.5, 0, 0, 4};
  const TrendColors trend{kUpText, kDownText, kNaN};
  struct Case {
    const char* name;
    void (*draw)(SvgBackend&, model::BarsView, const TrendColors&, const DeviceColumns&);
    std::string expected;
  };
  const Case cases[] = {
      {"hollow candles",
       [](SvgBackend& out, model::BarsView b, const TrendColors& t, const DeviceColumns& g) {
         render_hollow_candles(out, b, t, 0.5, kMapping, 8, 1, g);
       },
       // A body one device pixel wide is filled.
       wick(0.5, 30.5, 55, kUpText) + wick(0.5, 90, 95.5, kUpText) + filled(0, 55, 1, 35, kUpText) +
           wick(1.5, 50.5, 55, kDownText) + wick(1.5, 56, 80.5, kDownText) + filled(1, 55, 1, 1, kDownText)},
      {"columns",
       [](SvgBackend& out, model::BarsView b, const TrendColors& t, const DeviceColumns& g) {
         render_columns(out, b, t, 0.5, kMapping, 8, 1, g);
       },
       filled(0, 55, 1, 45, kUpText) + filled(1, 56, 1, 44, kDownText)},
      {"high-low",
       [](SvgBackend& out, model::BarsView b, const TrendColors&, const DeviceColumns& g) {
         render_high_low(out, b, kUpText, kDownText, 0.5, kMapping, 8, 1, g);
       },
       filled(0, 30, 1, 65, kUpText) + filled(1, 50, 1, 30, kDownText)},
  };
  for (const Case& c : cases) {
    SvgBackend out(100, 100, 1);
    c.draw(out, bars, trend, columns);
    EXPECT_EQ(out.body(), c.expected) << c.name;
  }
}

TEST(BarStyles, FiniteCloseBefore) {
  const model::BarColumns bars{{0, 1, 1, 1, 7, 0}, {1, 1, 1, 1, kNaN, 0}, {2, 1, 1, 1, INFINITY, 0}};
  EXPECT_EQ(finite_close_before(bars, 3), 7);
  EXPECT_EQ(finite_close_before(bars, 1), 7);
  EXPECT_TRUE(std::isnan(finite_close_before(bars, 0)));
}

}  // namespace
}  // namespace qc::render
