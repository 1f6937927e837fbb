// Candlestick and line renderers: snapping, colours, skipped values, line shapes and dashes, lines and areas
// broken at gaps.
#include "render/chart/series.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "render/engine/svg_backend.hpp"

namespace qc::render {
namespace {

using model::CandlestickData;
using model::CandlestickStyleOptions;
using model::LineData;
using model::LineStyleOptions;
using model::LineType;

const double kNaN = std::nan("");
constexpr Color kUp{0x26, 0xa6, 0x9a, 255};
constexpr Color kDown{0xef, 0x53, 0x50, 255};

CandlestickStyleOptions chart_style(bool border_visible) {
  CandlestickStyleOptions s;
  s.body_up_color = s.border_up_color = s.wick_up_color = "#26a69a";
  s.body_down_color = s.border_down_color = s.wick_down_color = "#ef5350";
  s.wick_visible = true;
  s.border_visible = border_visible;
  return s;
}

CandlestickData candle(double open, double high, double low, double close) {
  CandlestickData c;
  c.open = open, c.high = high, c.low = low, c.close = close;
  return c;
}

// Prices 0..100 over 100 pixels: y = 100 - price.
const coords::PriceMapping kMapping{0, 100, 0, 100};

template <class C>
std::vector<C> all_of_kind(const RenderBatch& b) {
  std::vector<C> out;
  for (const RenderCommand& c : b.commands()) {
    if (const C* x = std::get_if<C>(&c)) out.push_back(*x);
  }
  return out;
}

TEST(Candlesticks, BodyWidthRoundsToDevicePixels) {
  struct Case {
    double width, dpr, spacing, body_width;
  };
  const Case cases[] = {{7.3, 2, 20, 7.5}, {0.3, 1, 20, 1}, {kNaN, 2, 20, 0.5}, {8, 1, 20, 8}};
  for (const Case& c : cases) {
    RenderBatch b;
    const CandlestickData one[] = {candle(10, 60, 5, 50)};
    render_candlesticks(b, one, chart_style(false), c.spacing, kMapping, c.width, c.dpr);
    const auto bodies = all_of_kind<cmd::FillRect>(b);
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_EQ(bodies[0].rect.width, c.body_width) << c.width << " at dpr " << c.dpr;
  }
}

// A wick at ratio r is round(r) device pixels wide (at least one) and covers whole device pixels from the
// snapped coordinate: worked out by hand for candle centres 10.5 and 10.2, high 60.3 and low 5 (y 39.7 and
// 95). Body borders stay hairlines of width 1.
TEST(Candlesticks, WicksCoverWholeDevicePixels) {
  struct Case {
    double dpr, spacing, x, y1, y2, width;
  };
  const Case cases[] = {
      {1, 21, 10.5, 39.5, 95.5, 1},
      {1, 20.4, 10.5, 39.5, 95.5, 1},
      {1.5, 21, 10 + 2.0 / 3, 40, 95 + 1.0 / 3, 4.0 / 3},  // 2 device pixels from 15, 59 and 142
      {1.5, 20.4, 10 + 2.0 / 3, 40, 95 + 1.0 / 3, 4.0 / 3},
      {2, 21, 11, 40, 95.5, 1},  // 2 device pixels from 21, 79 and 190
      {2, 20.4, 10.5, 40, 95.5, 1},
      {3, 21, 10 + 5.0 / 6, 40 + 1.0 / 6, 95.5, 1},  // 3 device pixels from 31, 119 and 285
      {3, 20.4, 10.5, 40 + 1.0 / 6, 95.5, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "dpr " << c.dpr << ", spacing " << c.spacing);
    RenderBatch b;
    const CandlestickData one[] = {candle(10, 60.3, 5, 50)};
    render_candlesticks(b, one, chart_style(true), c.spacing, kMapping, 8, c.dpr);
    const auto wicks = all_of_kind<cmd::Line>(b);
    ASSERT_EQ(wicks.size(), 1u);
    EXPECT_DOUBLE_EQ(wicks[0].x1, c.x);
    EXPECT_EQ(wicks[0].x2, wicks[0].x1);
    EXPECT_DOUBLE_EQ(wicks[0].y1, c.y1);
    EXPECT_DOUBLE_EQ(wicks[0].y2, c.y2);
    EXPECT_DOUBLE_EQ(wicks[0].stroke.width, c.width);
    EXPECT_EQ(wicks[0].stroke.color, kUp);
    EXPECT_EQ(all_of_kind<cmd::StrokeRect>(b).at(0).stroke, StrokeStyle::solid(1.0, kUp));
  }
}

TEST(Candlesticks, FlatCandleHasOneDevicePixelBody) {
  RenderBatch b;
  const CandlestickData one[] = {candle(40.3, 41, 39, 40.3)};
  render_candlesticks(b, one, chart_style(false), 20, kMapping, 8, 4);
  const auto bodies = all_of_kind<cmd::FillRect>(b);
  ASSERT_EQ(bodies.size(), 1u);
  EXPECT_EQ(bodies[0].rect.height, 0.25);
  EXPECT_EQ(bodies[0].rect.y, std::floor((100 - 40.3) * 4) / 4);
}

TEST(Candlesticks, NaNPriceSkipsTheCandleButNotItsSlot) {
  RenderBatch b;
  const CandlestickData two[] = {candle(10, kNaN, 5, 50), candle(10, 60, 5, 50)};
  render_candlesticks(b, two, chart_style(false), 20, kMapping, 8, 1);
  ASSERT_EQ(b.commands().size(), 2u);
  EXPECT_EQ(all_of_kind<cmd::Line>(b).at(0).x1, 30.5);
}

TEST(Candlesticks, ColoursAndBorders) {
  struct Case {
    const char* name;
    CandlestickData candle;
    CandlestickStyleOptions style;
    Color body, wick;
    std::optional<Color> border;
  };
  CandlestickData overridden = candle(50, 60, 5, 10);
  overridden.body_color = "#000001";
  overridden.wick_color = "not a colour";
  overridden.border_color = "rgb(1,2,3)";
  CandlestickStyleOptions styled = chart_style(false);
  styled.wick_color = "#ffffff";
  styled.border_color = "#00ff00";
  CandlestickStyleOptions broken = chart_style(true);
  broken.body_up_color = broken.border_up_color = "bogus";
  const Case cases[] = {
      {"bullish, borders on", candle(10, 60, 5, 50), chart_style(true), kUp, kUp, kUp},
      {"bullish, borders off", candle(10, 60, 5, 50), chart_style(false), kUp, kUp, std::nullopt},
      {"bearish, borders on", candle(50, 60, 5, 10), chart_style(true), kDown, kDown, kDown},
      {"doji counts as up", candle(50, 60, 5, 50), chart_style(true), kUp, kUp, kUp},
      {"candle overrides", overridden, chart_style(false), {0, 0, 1, 255}, kOpaqueBlack, Color{1, 2, 3, 255}},
      {"style overrides draw a border even when borders are off", candle(50, 60, 5, 10), styled, kDown,
       kOpaqueWhite, Color{0, 255, 0, 255}},
      {"unparsable texts give black", candle(10, 60, 5, 50), broken, kOpaqueBlack, kUp, kOpaqueBlack},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RenderBatch b;
    render_candlesticks(b, {&c.candle, 1}, c.style, 20, kMapping, 8, 1);
    ASSERT_EQ(b.commands().size(), c.border ? 3u : 2u);
    EXPECT_EQ(std::get<cmd::Line>(b.commands()[0]).stroke.color, c.wick);
    EXPECT_EQ(std::get<cmd::FillRect>(b.commands()[1]).color, c.body);
    if (c.border) {
      const auto& border = std::get<cmd::StrokeRect>(b.commands()[2]);
      EXPECT_EQ(border.stroke, StrokeStyle::solid(1.0, *c.border));
      EXPECT_EQ(border.rect, std::get<cmd::FillRect>(b.commands()[1]).rect);
    }
  }
}

TEST(Candlesticks, WicksCanBeHidden) {
  RenderBatch b;
  CandlestickStyleOptions s = chart_style(false);
  s.wick_visible = false;
  const CandlestickData one[] = {candle(10, 60, 5, 50)};
  render_candlesticks(b, one, s, 20, kMapping, 8, 1);
  ASSERT_EQ(b.commands().size(), 1u);
  EXPECT_TRUE(std::holds_alternative<cmd::FillRect>(b.commands()[0]));
}

// Bars written straight into the backend give the text a replay of the recorded candles gives.
TEST(Candlesticks, SvgOfTwoCandlesRecordedOrWrittenAtOnce) {
  const CandlestickData two[] = {candle(10, 60, 5, 50), candle(50.5, 70, 20.25, 30)};
  const std::string expected =
      "<line x1=\"5.50\" y1=\"40.50\" x2=\"5.50\" y2=\"95.50\" stroke=\"#26a69a\" stroke-width=\"1.00\"/>\n"
      "<rect x=\"1.00\" y=\"50.00\" width=\"8.00\" height=\"40.00\" fill=\"#26a69a\"/>\n"
      "<rect x=\"1.00\" y=\"50.00\" width=\"8.00\" height=\"40.00\" stroke=\"#26a69a\" stroke-width=\"1.00\" "
      "fill=\"none\"/>\n"
      "<line x1=\"15.50\" y1=\"30.50\" x2=\"15.50\" y2=\"80.00\" stroke=\"#ef5350\" stroke-width=\"1.00\"/>\n"
      "<rect x=\"11.00\" y=\"49.50\" width=\"8.00\" height=\"20.50\" fill=\"#ef5350\"/>\n"
      "<rect x=\"11.00\" y=\"49.50\" width=\"8.00\" height=\"20.50\" stroke=\"#ef5350\" stroke-width=\"1.00\" "
      "fill=\"none\"/>\n";
  RenderBatch b;
  render_candlesticks(b, two, chart_style(true), 10, kMapping, 8, 2);
  SvgBackend replayed(100, 100, 2);
  replay(b, replayed);
  EXPECT_EQ(replayed.body(), expected);

  const model::BarColumns bars{{0, 10, 60, 5, 50, 0}, {60, 50.5, 70, 20.25, 30, 0}, {120, 1, kNaN, 1, 1, 0}};
  SvgBackend direct(100, 100, 2);
  render_candlesticks(direct, bars, chart_style(true), 10, kMapping, 8, 2);
  EXPECT_EQ(direct.body(), expected);

  // Without wicks or borders, only the bodies, in both roads.
  CandlestickStyleOptions bodies_only = chart_style(false);
  bodies_only.wick_visible = false;
  RenderBatch recorded;
  render_candlesticks(recorded, two, bodies_only, 10, kMapping, 8, 2);
  SvgBackend replayed_bodies(100, 100, 2), direct_bodies(100, 100, 2);
  replay(recorded, replayed_bodies);
  render_candlesticks(direct_bodies, bars, bodies_only, 10, kMapping, 8, 2);
  EXPECT_EQ(direct_bodies.body(),
            "<rect x=\"1.00\" y=\"50.00\" width=\"8.00\" height=\"40.00\" fill=\"#26a69a\"/>\n"
            "<rect x=\"11.00\" y=\"49.50\" width=\"8.00\" height=\"20.50\" fill=\"#ef5350\"/>\n");
  EXPECT_EQ(direct_bodies.body(), replayed_bodies.body());
}

// Three strokes per bar on the candles' grid, worked out by hand: spacing 15 (centres 7.5, 22.5, 37.5,
// 52.5), candle width 11.3 (11 device pixels at ratio 1, 17 at 1.5, 23 at 2, 34 at 3), y = 100 - price.
// Strokes are round(r) device pixels wide and cover whole device pixels from the snapped coordinates. The
// first bar's infinite high leaves it out without moving the others; a bar closing at its open counts as up.
TEST(OhlcBars, StrokesOnWholeDevicePixels) {
  const model::BarColumns bars{{0, 10, INFINITY, 5, 20, 0},
                             {60, 40.3, 60.7, 10.2, 50.9, 0},
                             {120, 50, 75, 20, 30, 0},
                             {180, 25, 30, 20, 25, 0}};
  struct Case {
    double dpr;
    const char* width;
    const char* d[3];
  };
  const Case cases[] = {
      {1, "1.00",
       {"M22.50 39.50V89.50M17.00 59.50H22.50M22.50 49.50H28.00",
        "M37.50 25.50V80.50M32.00 50.50H37.50M37.50 70.50H43.00",
        "M52.50 70.50V80.50M47.00 75.50H52.50M52.50 75.50H58.00"}},
      {1.5, "1.33",
       {"M22.67 39.33V90.00M16.67 60.00H22.67M22.67 49.33H28.00",
        "M38.00 25.33V80.67M31.33 50.67H38.00M38.00 70.67H42.67",
        "M52.67 70.67V80.67M46.67 75.33H52.67M52.67 75.33H58.00"}},
      {2, "1.00",
       {"M23.00 39.50V90.00M16.50 60.00H23.00M23.00 49.50H28.00",
        "M38.00 25.50V80.50M31.50 50.50H38.00M38.00 70.50H43.00",
        "M53.00 70.50V80.50M46.50 75.50H53.00M53.00 75.50H58.00"}},
      {3, "1.00",
       {"M22.83 39.50V90.17M16.67 60.17H22.83M22.83 49.50H28.00",
        "M37.83 25.50V80.50M31.67 50.50H37.83M37.83 70.50H43.00",
        "M52.83 70.50V80.50M46.67 75.50H52.83M52.83 75.50H58.00"}},
  };
  const char* colors[] = {"#26a69a", "#ef5350", "#26a69a"};
  for (const Case& c : cases) {
    std::string expected;
    for (int k = 0; k < 3; ++k) {
      expected += std::string("<path d=\"") + c.d[k] + "\" stroke=\"" + colors[k] + "\" stroke-width=\"" + c.width +
                  "\" fill=\"none\"/>\n";
    }
    SvgBackend out(100, 100, c.dpr);
    render_ohlc_bars(out, bars, "#26a69a", "#ef5350", 15, kMapping, 11.3, c.dpr);
    EXPECT_EQ(out.body(), expected) << "dpr " << c.dpr;
  }
  // Colours that do not parse draw black, as candles do.
  SvgBackend out(100, 100, 1);
  render_ohlc_bars(out, model::BarColumns{bars[1]}, "up", "down", 15, kMapping, 11.3, 1);
  EXPECT_NE(out.body().find("stroke=\"#000000\""), std::string::npos);
}

std::vector<LineData> line_points(std::initializer_list<double> values) {
  std::vector<LineData> out;
  for (double v : values) out.push_back({std::nullopt, 0, v});
  return out;
}

const cmd::StrokePath& only_path(const RenderBatch& b) { return std::get<cmd::StrokePath>(b.commands().at(0)); }

// One path per run of two or more finite values, its shape within the run; a lone value between gaps (NaN or
// infinite) draws nothing.
TEST(Line, OnePathPerRunShapedWithinIt) {
  struct Case {
    const char* name;
    LineType type;
    std::vector<LineData> points;
    std::vector<std::size_t> commands;  // per path
  };
  const Case cases[] = {
      {"curved, three points", LineType::Curved, line_points({10, 20, 15}), {21}},
      {"curved, two points", LineType::Curved, line_points({10, 20}), {2}},
      {"curved, one point", LineType::Curved, line_points({10}), {}},
      {"code above curved is curved", static_cast<LineType>(7), line_points({10, 20, 15, 30}), {31}},
      {"curved runs", LineType::Curved, line_points({10, 20, kNaN, 15, 30, 20}), {2, 21}},
      {"straight, a lone value", LineType::Straight, line_points({10, kNaN, 20, 15}), {2}},
      {"straight, an infinity", LineType::Straight, line_points({10, 12, INFINITY, 20, 15, 17}), {2, 3}},
      {"stepped", LineType::Stepped, line_points({10, 20, 15}), {5}},
      {"stepped runs", LineType::Stepped, line_points({10, 20, kNaN, 15, 30}), {3, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RenderBatch b;
    LineStyleOptions o;
    o.line_type = c.type;
    render_line(b, c.points, o, 10, kMapping);
    std::vector<std::size_t> commands;
    for (const auto& path : all_of_kind<cmd::StrokePath>(b)) commands.push_back(path.path.commands.size());
    EXPECT_EQ(commands, c.commands);
    EXPECT_EQ(b.commands().size(), c.commands.size());
  }
}

TEST(Line, CurvePassesThroughItsPointsAndSteppedTurnsAtEachX) {
  RenderBatch curved, stepped;
  LineStyleOptions o;
  o.line_type = LineType::Curved;
  const auto pts = line_points({10, 20, 15});
  render_line(curved, pts, o, 10, kMapping);
  const auto& c = only_path(curved).path.commands;
  EXPECT_EQ(c[0], PathCommand(MoveTo{5, 90}));
  EXPECT_EQ(c[10], PathCommand(LineTo{15, 80}));
  EXPECT_EQ(c[20], PathCommand(LineTo{25, 85}));

  o.line_type = LineType::Stepped;
  render_line(stepped, pts, o, 10, kMapping);
  const std::vector<PathCommand> expected{MoveTo{5, 90}, LineTo{15, 90}, LineTo{15, 80}, LineTo{25, 80},
                                          LineTo{25, 85}};
  EXPECT_EQ(only_path(stepped).path.commands, expected);
}

TEST(Line, DashPatternsScaleWithTheWidth) {
  struct Case {
    std::uint8_t code;
    std::optional<std::vector<double>> dash;
  };
  const Case cases[] = {{0, std::nullopt}, {1, std::vector<double>{3, 3}}, {2, std::vector<double>{6, 6}},
                        {3, std::vector<double>{18, 18}}, {4, std::vector<double>{3, 12}}, {9, std::nullopt}};
  for (const Case& c : cases) {
    RenderBatch b;
    LineStyleOptions o;
    o.line_style = c.code;
    render_line(b, line_points({1, 2}), o, 10, kMapping);
    const StrokeStyle& s = only_path(b).stroke;
    EXPECT_EQ(s.dash, c.dash) << int(c.code);
    EXPECT_EQ(s.width, 3.0);
    EXPECT_EQ(s.color, (Color{0x21, 0x96, 0xf3, 255}));
  }
}

// Each run's markers follow its line, one per value; a lone value has neither.
TEST(Line, MarkersFollowTheLineOnePerValue) {
  RenderBatch b;
  LineStyleOptions o;
  o.color = "nonsense";
  o.point_markers_visible = true;
  o.point_radius = 2.5;
  render_line(b, line_points({10, kNaN, 30, 40}), o, 10, kMapping);
  ASSERT_EQ(b.commands().size(), 3u);
  EXPECT_EQ(only_path(b).stroke.color, kOpaqueBlack);
  const auto markers = all_of_kind<cmd::FillCircle>(b);
  ASSERT_EQ(markers.size(), 2u);
  EXPECT_EQ(markers[0].cx, 25);
  EXPECT_EQ(markers[1].cx, 35);
  EXPECT_EQ(markers[1].cy, 60);
  EXPECT_EQ(markers[1].radius, 2.5);

  RenderBatch without_radius;
  o.point_radius.reset();
  render_line(without_radius, line_points({10, 30}), o, 10, kMapping);
  EXPECT_EQ(without_radius.commands().size(), 1u);
}

TEST(Line, NothingForHiddenEmptyOrLoneValues) {
  LineStyleOptions hidden;
  hidden.visible = false;
  using Recorded = void (*)(RenderBatch&, std::span<const LineData>, const LineStyleOptions&, double,
                            const coords::PriceMapping&);
  for (const Recorded render : std::initializer_list<Recorded>{render_line, render_area}) {
    RenderBatch b;
    render(b, line_points({1, 2}), hidden, 10, kMapping);
    render(b, {}, LineStyleOptions{}, 10, kMapping);
    render(b, line_points({kNaN, kNaN}), LineStyleOptions{}, 10, kMapping);
    render(b, line_points({1, kNaN, 2, -INFINITY, 3}), LineStyleOptions{}, 10, kMapping);
    EXPECT_TRUE(b.commands().empty());
  }
}

// Run after run, the fill goes straight through the run's points whatever the line's shape, down to the
// pane's foot, with a gradient of its own, then comes the run's line; a lone value has neither.
TEST(Area, EachRunFilledDownToTheFootThenLined) {
  struct Case {
    const char* name;
    std::vector<LineData> points;
    LineType type;
    coords::PriceMapping mapping;
    std::vector<std::vector<PathCommand>> fills;
  };
  const Case cases[] = {
      {"two runs and a lone value", line_points({10, 20, kNaN, 30, 40, kNaN, 50}), LineType::Straight, kMapping,
       {{MoveTo{5, 90}, LineTo{15, 80}, LineTo{15, 100}, LineTo{5, 100}, Close{}},
        {MoveTo{35, 70}, LineTo{45, 60}, LineTo{45, 100}, LineTo{35, 100}, Close{}}}},
      {"curved", line_points({10, 20, 15}), LineType::Curved, coords::PriceMapping{0, 100, 50, 100},
       {{MoveTo{5, 140}, LineTo{15, 130}, LineTo{25, 135}, LineTo{25, 150}, LineTo{5, 150}, Close{}}}},
      {"one point", line_points({kNaN, 10, INFINITY}), LineType::Straight, kMapping, {}},
  };
  const LinearGradient gradient{{{0.0, Color{0x10, 0x20, 0x30, 102}}, {1.0, Color{0x10, 0x20, 0x30, 0}}}, 0, 0, 0, 1};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RenderBatch area, line;
    LineStyleOptions o;
    o.line_type = c.type;
    o.color = "#10203080";
    render_area(area, c.points, o, 10, c.mapping);
    render_line(line, c.points, o, 10, c.mapping);
    ASSERT_EQ(area.commands().size(), 2 * c.fills.size());
    ASSERT_EQ(line.commands().size(), c.fills.size());
    for (std::size_t k = 0; k < c.fills.size(); ++k) {
      const auto& fill = std::get<cmd::FillPath>(area.commands()[2 * k]);
      EXPECT_EQ(fill.path.commands, c.fills[k]) << k;
      EXPECT_EQ(std::get<LinearGradient>(fill.fill), gradient);
      EXPECT_EQ(std::get<cmd::StrokePath>(area.commands()[2 * k + 1]).path.commands,
                std::get<cmd::StrokePath>(line.commands()[k]).path.commands)
          << k;
    }
  }
  // Written out, each fill names a gradient defined for it alone.
  SvgBackend out(100, 100, 1);
  const model::BarColumns bars{{0, 1, 1, 1, 10, 0}, {0, 1, 1, 1, 20, 0}, {0, 1, 1, 1, kNaN, 0}, {0, 1, 1, 1, 30, 0},
                             {0, 1, 1, 1, 40, 0}};
  render_area(out, bars, LineStyleOptions{}, 10, kMapping);
  const std::string body(out.body());
  EXPECT_EQ(body.find("url(#grad0)"), body.rfind("url(#grad0)"));
  EXPECT_LT(body.find("url(#grad0)"), body.find("url(#grad1)"));
  EXPECT_EQ(body.find("url(#grad1)"), body.rfind("url(#grad1)"));
  EXPECT_NE(std::string(out.defs()).find("<linearGradient id=\"grad1\""), std::string::npos);
}

// The bars' closes written straight into the backend give the text (and an area's gradient definition) a
// replay of the recorded line or area gives, whatever the line's shape, dash, markers and gaps.
TEST(Line, ClosesWrittenAtOnceMatchTheReplayedRecording) {
  struct Case {
    const char* name;
    std::vector<double> closes;
    LineStyleOptions options;
  };
  LineStyleOptions marked, dashed, stepped, curved, hidden;
  marked.point_markers_visible = true;
  marked.point_radius = 2;
  dashed.line_style = 2;
  stepped.line_type = LineType::Stepped;
  curved.line_type = LineType::Curved;
  hidden.visible = false;
  const Case cases[] = {
      {"straight with a gap", {10, kNaN, 20, 15}, {}},
      {"two runs", {10, 20, kNaN, 30, 25}, {}},
      {"gaps at both ends", {kNaN, 10, kNaN, 20, 15, kNaN}, {}},
      {"one point", {kNaN, 10}, {}},
      {"no point", {kNaN, kNaN}, {}},
      {"markers", {10, kNaN, 30, 20}, marked},
      {"dashed", {10, 20}, dashed},
      {"stepped", {10, 20, 15}, stepped},
      {"curved", {10, 20, 15}, curved},
      {"hidden", {10, 20}, hidden},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<LineData> points;
    model::BarColumns bars;
    for (double v : c.closes) {
      points.push_back({std::nullopt, 0, v});
      bars.push_back({0, 1, 1, 1, v, 0});
    }
    for (const bool area : {false, true}) {
      SCOPED_TRACE(area ? "area" : "line");
      RenderBatch b;
      area ? render_area(b, points, c.options, 10, kMapping) : render_line(b, points, c.options, 10, kMapping);
      SvgBackend replayed(100, 100, 1), direct(100, 100, 1);
      replay(b, replayed);
      replayed.fill_rect({0, 0, 1, 1}, kUp);  // what follows the line is not swallowed when it draws nothing
      area ? render_area(direct, bars, c.options, 10, kMapping) : render_line(direct, bars, c.options, 10, kMapping);
      direct.fill_rect({0, 0, 1, 1}, kUp);
      EXPECT_EQ(direct.body(), replayed.body());
      EXPECT_EQ(direct.defs(), replayed.defs());
    }
  }
}

}  // namespace
}  // namespace qc::render
