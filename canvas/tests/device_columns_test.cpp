// Bars grouped by device-pixel column: the points a line keeps, and the candles, OHLC bars, lines, areas,
// histograms, dots, steps and cloud fills drawn for groups, against groups worked out by hand.
#include "render/chart/device_columns.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "api/cloud_painter.hpp"
#include "api/indicator_painter.hpp"
#include "api/layout.hpp"
#include "primitives/support.hpp"
#include "render/chart/series.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::render {
namespace {

const double kNaN = std::nan("");

std::vector<std::size_t> kept(const DeviceColumns& columns, const std::vector<double>& values) {
  std::vector<std::size_t> out;
  for_each_kept_point(
      columns, 0, values.size(), [&](std::size_t k) { out.push_back(k); }, [&](std::size_t k) { return values[k]; });
  return out;
}

// Column c(k) = floor((k - origin + 0.5) × spacing × ratio); each group keeps its first, lowest, highest and
// last finite value, in bar order, each once.
TEST(DeviceColumns, KeptPointsPerGroup) {
  struct Case {
    const char* name;
    DeviceColumns columns;
    std::vector<double> values;
    std::vector<std::size_t> expected;
  };
  const Case cases[] = {
      // Columns 0 (bars 0-3) and 1 (bars 4-7); equal values keep the first of them.
      {"two columns", {1, 0.25, 0, 0, 8}, {5, 1, 9, 3, 2, 2, 2, 2}, {0, 1, 2, 3, 4, 7}},
      {"eight bars in one column", {1, 0.125, 0, 0, 8}, {5, 7, 1, 8, 6, 2, 9, 4}, {0, 2, 6, 7}},
      {"blanks inside the group", {1, 0.125, 0, 0, 8}, {kNaN, 7, 1, 8, 6, 2, kNaN, 4}, {1, 2, 3, 7}},
      {"only blanks", {1, 0.125, 0, 0, 4}, {kNaN, kNaN, kNaN, kNaN}, {}},
      // Bars 1-8 drawn, all in column 0 with the bar after them (x = 0.85): the view's neighbours stand alone,
      // though the one after is lower than every drawn bar.
      {"a view's neighbours", {1, 0.1, 1, 1, 9}, {1, 5, 0, 9, 3, 4, 4, 4, 6, -5}, {0, 1, 2, 3, 8, 9}},
      // Ratio 1.5: c = floor((k + 0.5) × 0.15): bars 0-6 in column 0, 7-9 in column 1.
      {"ratio 1.5", {1.5, 0.1, 0, 0, 10}, {4, 6, 2, 8, 5, 3, 7, 1, 9, 0}, {0, 2, 3, 6, 7, 8, 9}},
      // Ratio 2: c = floor((k + 0.5) × 0.2): bars 0-4 in column 0, 5-9 in column 1.
      {"ratio 2", {2, 0.1, 0, 0, 10}, {4, 6, 2, 8, 5, 3, 7, 1, 9, 0}, {0, 2, 3, 4, 5, 8, 9}},
      {"no grouping", {0, 0.1, 0, 0, 5}, {4, kNaN, 2, 8, 5}, {0, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kept(c.columns, c.values), c.expected) << c.name;
  }
}

// A group ends where the column c(k) first changes, as counting bar by bar finds it, for spacings and
// ratios whose columns' edges fall between bars, on bars and near them, from any origin and up to a limit.
TEST(DeviceColumns, GroupEndsWhereTheColumnChanges) {
  for (const double ratio : {1.0, 1.5, 2.0, 3.0}) {
    for (const double spacing : {0.1, 0.125, 1.0 / 3.0, 0.0011, 0.7, 2.5}) {
      for (const std::size_t origin : {0u, 7u}) {
        const DeviceColumns columns{ratio, spacing, origin, origin, origin + 5000};
        for (std::size_t k = origin; k < origin + 5000; k += 37) {
          for (const std::size_t limit : {k + 1, k + 3, origin + 5000, origin + 9000}) {
            std::size_t e = k + 1;
            while (e < std::min(limit, columns.end) && columns.column(e) == columns.column(k)) ++e;
            EXPECT_EQ(columns.group_end(k, limit), e) << "ratio " << ratio << " spacing " << spacing << " bar " << k;
          }
        }
      }
    }
  }
}

// With two value lines (a fill's edges) a group keeps the extremes of both and the bars where both are finite.
TEST(DeviceColumns, KeptPointsOfTwoLines) {
  const std::vector<double> a{5, 7, 1, 8, 6, 2, 9, 4}, b{0, 0, kNaN, 0, -3, 0, 0, 1};
  std::vector<std::size_t> out;
  for_each_kept_point(
      DeviceColumns{1, 0.125, 0, 0, 8}, 0, 8, [&](std::size_t k) { out.push_back(k); },
      [&](std::size_t k) { return a[k]; }, [&](std::size_t k) { return b[k]; });
  // a: first 0, lowest 5 (2; bar 2 has no b), highest 6, last 7; b: lowest 4, highest 7.
  EXPECT_EQ(out, (std::vector<std::size_t>{0, 4, 5, 6, 7}));
}

// Prices 0..100 over 100 pixels: y = 100 - price.
const coords::PriceMapping kMapping{0, 100, 0, 100};

model::CandlestickStyleOptions chart_style() {
  model::CandlestickStyleOptions s;
  s.body_up_color = s.border_up_color = s.wick_up_color = "#26a69a";
  s.body_down_color = s.border_down_color = s.wick_down_color = "#ef5350";
  s.wick_visible = true;
  return s;
}

// One column of both directions: an up bar, a down bar, one without an open (left out) and a down bar: the
// aggregate opens at 50, reaches 70 and 30 and closes at 45, so it is down.
const model::BarColumns kMixedColumn{
    {0, 50, 60, 40, 55, 10}, {1, 55, 70, 45, 48, 30}, {2, kNaN, 99, 1, 50, 99}, {3, 48, 52, 30, 45, 20}};

// Four bars in column 0, each mark filling it: the body one device pixel, the wick round(r) device pixels
// on the device grid as a lone candle's.
TEST(DeviceColumns, CandleOfTheColumnsAggregate) {
  struct Case {
    double dpr, spacing;
    const char* expected;
  };
  const Case cases[] = {
      {1, 0.25,
       "<line x1=\"0.50\" y1=\"30.50\" x2=\"0.50\" y2=\"70.50\" stroke=\"#ef5350\" stroke-width=\"1.00\"/>\n"
       "<rect x=\"0.00\" y=\"50.00\" width=\"1.00\" height=\"5.00\" fill=\"#ef5350\"/>\n"},
      {2, 0.125,
       "<line x1=\"0.50\" y1=\"30.50\" x2=\"0.50\" y2=\"70.50\" stroke=\"#ef5350\" stroke-width=\"1.00\"/>\n"
       "<rect x=\"0.00\" y=\"50.00\" width=\"0.50\" height=\"5.00\" fill=\"#ef5350\"/>\n"},
      // Wicks two device pixels of 1/1.5; the close's edge snaps down to 82 device pixels.
      {1.5, 0.125,
       "<line x1=\"0.67\" y1=\"30.67\" x2=\"0.67\" y2=\"70.67\" stroke=\"#ef5350\" stroke-width=\"1.33\"/>\n"
       "<rect x=\"0.00\" y=\"50.00\" width=\"0.67\" height=\"4.67\" fill=\"#ef5350\"/>\n"},
  };
  for (const Case& c : cases) {
    SvgBackend out(100, 100, c.dpr);
    render_candlesticks(out, kMixedColumn, chart_style(), c.spacing, kMapping, 0.8 * c.spacing, c.dpr,
                        DeviceColumns{c.dpr, c.spacing, 0, 0, 4});
    EXPECT_EQ(out.body(), c.expected) << "dpr " << c.dpr;
  }
  // A group whose bars all lack a price draws nothing; a group of one draws as without grouping.
  const model::BarColumns blanks{{0, kNaN, 1, 1, 1, 0}, {1, 1, kNaN, 1, 1, 0}};
  SvgBackend none(100, 100, 1);
  render_candlesticks(none, blanks, chart_style(), 0.25, kMapping, 0.2, 1, DeviceColumns{1, 0.25, 0, 0, 2});
  EXPECT_EQ(none.body(), "");
  const model::BarColumns one{{0, 20, 30, 10, 25, 0}};
  SvgBackend alone(100, 100, 1), ungrouped(100, 100, 1);
  render_candlesticks(alone, one, chart_style(), 4, kMapping, 3, 1, DeviceColumns{1, 4, 0, 0, 1});
  render_candlesticks(ungrouped, one, chart_style(), 4, kMapping, 3, 1);
  EXPECT_EQ(alone.body(), ungrouped.body());
}

TEST(DeviceColumns, OhlcBarOfTheColumnsAggregate) {
  SvgBackend out(100, 100, 1);
  render_ohlc_bars(out, kMixedColumn, "#26a69a", "#ef5350", 0.25, kMapping, 0.2, 1, DeviceColumns{1, 0.25, 0, 0, 4});
  // Stroke at 0.5 from 70 to 30; the open's tick from the column's left edge, the close's to its right edge.
  EXPECT_EQ(out.body(),
            "<path d=\"M0.50 30.50V70.50M0.00 50.50H0.50M0.50 55.50H1.00\" stroke=\"#ef5350\" "
            "stroke-width=\"1.00\" fill=\"none\"/>\n");
}

// The closes 5 7 1 8 6 2 9 4 in one column keep bars 0, 2, 6 and 7 at their own x = (k + 0.5) / 8.
TEST(DeviceColumns, LineAndAreaThroughTheKeptCloses) {
  model::BarColumns bars;
  for (const double close : {5.0, 7.0, 1.0, 8.0, 6.0, 2.0, 9.0, 4.0}) {
    bars.push_back({0, close, close, close, close, 0});
  }
  const DeviceColumns columns{1, 0.125, 0, 0, 8};
  SvgBackend line(100, 100, 1);
  render_line(line, bars, {}, 0.125, kMapping, 0, columns);
  EXPECT_EQ(line.body(),
            "<path d=\"M0.06 95.00 L0.31 99.00 L0.81 91.00 L0.94 96.00\" stroke=\"#2196f3\" stroke-width=\"3.00\" "
            "fill=\"none\"/>\n");

  model::LineStyleOptions stepped;
  stepped.line_type = model::LineType::Stepped;
  SvgBackend steps(100, 100, 1);
  render_line(steps, bars, stepped, 0.125, kMapping, 0, columns);
  EXPECT_EQ(steps.body(),
            "<path d=\"M0.06 95.00 L0.31 95.00 L0.31 99.00 L0.81 99.00 L0.81 91.00 L0.94 91.00 L0.94 96.00\" "
            "stroke=\"#2196f3\" stroke-width=\"3.00\" fill=\"none\"/>\n");

  // The area's fill passes the same points, then down to the foot and back.
  SvgBackend area(100, 100, 1);
  render_area(area, bars, {}, 0.125, kMapping, 0, columns);
  const std::string body(area.body());
  EXPECT_NE(body.find("M0.06 95.00 L0.31 99.00 L0.81 91.00 L0.94 96.00 L0.94 100.00 L0.06 100.00 Z"),
            std::string::npos)
      << body;
}

}  // namespace
}  // namespace qc::render

namespace qc::api {
namespace {

const double kNaN = std::nan("");

std::string painted(const model::Indicator& indicator, const Layout& layout, model::BarsView bars = {}) {
  render::SvgBackend out(layout.width, layout.height, 1);
  const coords::PriceMapping y{-10, 10, 0, 100};  // y = 50 - 5 v
  draw_indicator(out, indicator, y, y.y(0.0), layout, palette::UpDown{}, bars);
  return std::string(out.body());
}

model::Indicator with_vector(model::IndicatorVector vector) {
  return std::move(model::Indicator::make("test", "Test")).add_vector(std::move(vector));
}

model::IndicatorVector vector(std::string_view name, model::VectorStyle style, std::vector<double> values) {
  model::IndicatorVector v = model::IndicatorVector::make(name, std::move(style));
  v.values.assign(values.begin(), values.end());
  return v;
}

// A plot 2 px wide holding 8 bars: bars 0-3 in column 0, 4-7 in column 1.
Layout grouped_layout() { return Layout::make(72, 100, 8, 0.0).grouped_at(1); }

// Each group: a bar to its largest value of at least 0 in the up colour, one to its most negative in the
// down colour, both filling the column from the baseline y = 50; blanks left out.
TEST(DeviceColumnsPainter, HistogramsOfBothSigns) {
  const auto histogram = vector("H", model::VectorStyle::histogram_colored("#00ff00", "#ff0000"),
                                {3, -2, kNaN, 5, 1, 1, kNaN, -4});
  EXPECT_EQ(painted(with_vector(histogram), grouped_layout()),
            "<path d=\"M0.00 25.00h1.00v25.00h-1.00ZM1.00 45.00h1.00v5.00h-1.00Z\" fill=\"#00ff00\" stroke=\"none\"/>\n"
            "<path d=\"M0.00 50.00h1.00v10.00h-1.00ZM1.00 50.00h1.00v20.00h-1.00Z\" fill=\"#ff0000\" stroke=\"none\"/>\n");
  // Two histograms sharing each slot take each half of the column.
  model::Indicator halves = with_vector(vector(
      "Bull", model::VectorStyle::histogram_colored("#00ff00", "#ff0000", model::style::SlotPart::left_half),
      {1, 2, 3, 4, kNaN, kNaN, kNaN, kNaN}));
  halves = std::move(halves).add_vector(vector(
      "Bear", model::VectorStyle::histogram_colored("#00ff00", "#ff0000", model::style::SlotPart::right_half),
      {-1, -2, -3, -4, -1, kNaN, kNaN, kNaN}));
  EXPECT_EQ(painted(halves, grouped_layout()),
            "<path d=\"M0.00 30.00h0.50v20.00h-0.50Z\" fill=\"#00ff00\" stroke=\"none\"/>\n"
            "<path d=\"M0.50 50.00h0.50v20.00h-0.50ZM1.50 50.00h0.50v5.00h-0.50Z\" fill=\"#ff0000\" stroke=\"none\"/>\n");
}

// The volume's bars: the group's largest volume, coloured by the direction of its aggregate candle (the
// down colour when no bar of the group has all its prices).
TEST(DeviceColumnsPainter, VolumeColouredByTheColumnsDirection) {
  // Column 0 as kMixedColumn, closing down at 45 from 50, its largest volume (9) on the bar without an open;
  // column 1 opens at 10 and closes up at 12, its largest volume (8) on a down bar.
  const model::BarColumns bars{{0, 50, 60, 40, 55, 2}, {1, 55, 70, 45, 48, 6},  {2, kNaN, 99, 1, 50, 9},
                               {3, 48, 52, 30, 45, 4}, {4, 10, 15, 5, 8, 3},    {5, 8, 12, 6, 11, 1},
                               {6, 11, 13, 9, 9, 8},   {7, 9, 14, 8, 12, 2}};
  model::Indicator volume = model::Indicator::make("volume", "Volume");
  model::IndicatorVector v = vector("Volume", model::VectorStyle::histogram_colored("#00ff00", "#ff0000"), {});
  for (std::size_t k = 0; k < bars.size(); ++k) {
    v.values.push_back(bars[k].volume);
    v.up_flags.push_back(bars[k].close >= bars[k].open);
  }
  volume = std::move(volume).add_vector(std::move(v));
  EXPECT_EQ(painted(volume, grouped_layout(), bars),
            "<path d=\"M0.00 5.00h1.00v45.00h-1.00Z\" fill=\"#ff0000\" stroke=\"none\"/>\n"
            "<path d=\"M1.00 10.00h1.00v40.00h-1.00Z\" fill=\"#00ff00\" stroke=\"none\"/>\n");
}

// Dots: each group's lowest and highest, in bar order at their own x = (k + 0.5) / 4.
TEST(DeviceColumnsPainter, DotsLowestAndHighest) {
  const auto dots = vector("D", model::VectorStyle::dots("#0000ff", 2, true), {3, 1, 4, 1.5, 5, 9, 2, 6});
  const std::string body = painted(with_vector(dots), grouped_layout());
  EXPECT_EQ(body,
            "<path d=\"M-1.62 45.00A2.00 2.00 0 1 0 2.38 45.00A2.00 2.00 0 1 0 -1.62 45.00Z"  // at 0.38
            "M-1.38 30.00A2.00 2.00 0 1 0 2.62 30.00A2.00 2.00 0 1 0 -1.38 30.00Z"             // 0.62
            "M-0.62 5.00A2.00 2.00 0 1 0 3.38 5.00A2.00 2.00 0 1 0 -0.62 5.00Z"                // 1.38
            "M-0.38 40.00A2.00 2.00 0 1 0 3.62 40.00A2.00 2.00 0 1 0 -0.38 40.00Z\" "          // 1.62
            "fill=\"#0000ff\" stroke=\"none\"/>\n");
}

// Steps go through the kept points: bars 0, 2, 3 of column 0 (3 is both highest and last) and all four of
// column 1; a gap inside column 1 splits its group between two runs.
TEST(DeviceColumnsPainter, StepsThroughTheKeptPoints) {
  struct Case {
    const char* name;
    std::vector<double> values;
    std::size_t segments;
  };
  const Case cases[] = {
      {"one run", {5, 7, 1, 8, 6, 2, 9, 4}, 2 * 6},
      // Runs 0-5 (kept 0, 2, 3, 4, 5) and bar 7 alone, which draws nothing.
      {"a gap inside a group", {5, 7, 1, 8, 6, 2, kNaN, 4}, 2 * 4},
  };
  for (const Case& c : cases) {
    const auto steps = vector("S", model::VectorStyle{model::style::StepLine{"#0000ff", 1}}, c.values);
    const std::string body = painted(with_vector(steps), grouped_layout());
    // One polyline per run: a segment between each two of its points.
    std::size_t segments = 0;
    for (const primitives::testing::SvgElement& e : primitives::testing::parse_body(body)) {
      ASSERT_EQ(e.tag, "polyline") << c.name;
      segments += static_cast<std::size_t>(std::count(e.at("points").begin(), e.at("points").end(), ' '));
    }
    EXPECT_EQ(segments, c.segments) << c.name << "\n" << body;
  }
  const auto steps = vector("S", model::VectorStyle{model::style::StepLine{"#0000ff", 1}}, {5, 7, 1, 8, 6, 2, 9, 4});
  const std::string body = painted(with_vector(steps), grouped_layout());
  // Across from bar 0 (0.125, 25) to bar 2's x, then down to its value 1 (45).
  EXPECT_TRUE(body.starts_with("<polyline points=\"0.12,25.00 0.62,25.00 0.62,45.00 ")) << body;
}

// A cloud whose eight bars share one column passes the bars either edge keeps: the cloud's first and last
// (0 and 7, a flat line), the partner's highest (1) and lowest (3); the partner crosses it between the kept
// bars 1 and 3 (at 0.6 of the way) and 3 and 7 (at 2/3), so three paths alternate colours.
TEST(DeviceColumnsPainter, CloudFillThroughTheKeptEdges) {
  const Layout layout = Layout::make(71, 100, 8, 0.0).grouped_at(1);
  const std::vector<double> cloud(8, 0.0), partner{1, 3, 2, -2, 1, 2, 1, 1};
  render::SvgBackend out(71, 100, 1);
  fill_cloud(out, cloud, partner, {render::Color{0, 255, 0, 255}, render::Color{255, 0, 0, 255}},
             coords::PriceMapping{-10, 10, 0, 100}, layout);
  const std::string body(out.body());
  EXPECT_EQ(body,
            "<path d=\"M0.06 45.00 L0.19 35.00 L0.34 50.00 L0.19 50.00 L0.06 50.00 Z\" fill=\"#00ff00\" "
            "stroke=\"none\"/>\n"
            "<path d=\"M0.34 50.00 L0.44 60.00 L0.77 50.00 L0.44 50.00 Z\" fill=\"#ff0000\" stroke=\"none\"/>\n"
            "<path d=\"M0.77 50.00 L0.94 45.00 L0.94 50.00 Z\" fill=\"#00ff00\" stroke=\"none\"/>\n");
}

// A view of bars 1-8 of 10: the polyline reaches bars 0 and 9 on either side, which are never grouped.
TEST(DeviceColumnsPainter, ViewKeepsItsNeighbours) {
  const Layout layout = Layout::make(72, 100, 8, 0.0, 1, 10).grouped_at(1);
  const auto line = vector("L", model::VectorStyle::line("#0000ff", 1), {1, 5, 7, 1, 8, 6, 2, 9, 4, -1});
  // Column 0 holds bars 1-4 (5 7 1 8: keeps 1, 3, 4), column 1 bars 5-8 (6 2 9 4: all four).
  EXPECT_EQ(painted(with_vector(line), layout),
            "<polyline points=\"-0.12,45.00 0.12,25.00 0.62,45.00 0.88,10.00 1.12,20.00 1.38,40.00 1.62,5.00 "
            "1.88,30.00 2.12,55.00\" stroke=\"#0000ff\" stroke-width=\"1.00\" fill=\"none\"/>\n");
}

}  // namespace
}  // namespace qc::api
