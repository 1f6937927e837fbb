// A chart drawn as boxes: the settings a request settles to and the faults that refuse it, the user's bars
// kept aside and given back, new bars made into boxes, per-bar columns placed on boxes, and the JSON form.
#include "api/box_chart.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "api/chart_json.hpp"

using namespace qc;
using model::BoxKind;
using model::BoxSettings;

namespace {

model::BarColumns rising(std::size_t n, double step = 1.0) {
  model::BarColumns bars;
  for (std::size_t i = 0; i < n; ++i) {
    const double c = 100.0 + step * static_cast<double>(i);
    bars.push_back({static_cast<std::int64_t>(86'400 * i), c, c + 0.5, c - 0.5, c, 10.0});
  }
  return bars;
}

api::Chart chart_of(model::BarColumns bars) {
  api::Chart c = api::Chart::make(400, 300);
  c.bars = std::move(bars);
  return c;
}

TEST(SettleBoxes, SettlesTheAtrBoxOrNamesTheFault) {
  using api::BoxFault;
  const model::BarColumns flat = [] {
    model::BarColumns b;
    for (int i = 0; i < 20; ++i) b.push_back({i, 5.0, 5.0, 5.0, 5.0, 1.0});
    return b;
  }();
  struct Case {
    const char* what;
    model::BarColumns bars;
    api::BoxRequest request;
    BoxFault fault;
    std::size_t count;  // checked with too_many
  };
  const Case cases[] = {
      {"a box as given", rising(30), {{BoxKind::renko, 2.0, 0, false}, false}, BoxFault::none, 0},
      {"an ATR box of 14 bars", rising(14), {{BoxKind::renko, 0.0, 0, false}, true}, BoxFault::too_few_bars, 0},
      {"an ATR box of flat bars", flat, {{BoxKind::point_and_figure, 0.0, 3, false}, true}, BoxFault::no_atr, 0},
      {"a box too small", rising(2, 2000.0), {{BoxKind::renko, 0.001, 0, false}, false}, BoxFault::too_many,
       2'000'000},
      {"line break is counted, a line a bar at most", rising(2, 2000.0), {{BoxKind::line_break, 0.0, 3, false}, false},
       BoxFault::none, 0},
      {"a box below the closes' resolution, before any count", rising(2, 2000.0),
       {{BoxKind::renko, 1e-300, 0, false}, false}, BoxFault::below_resolution, 0},
      {"a kagi reversal below it", rising(2, 2000.0), {{BoxKind::kagi, 1e-300, 0, false}, false},
       BoxFault::below_resolution, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const api::SettledBoxes got = api::settle_boxes(c.bars, c.request);
    EXPECT_EQ(got.fault, c.fault);
    if (c.fault == BoxFault::too_many) {
      EXPECT_GT(got.count, api::kMostBoxes);
      EXPECT_NEAR(static_cast<double>(got.count), static_cast<double>(c.count), 1.0);
    }
    if (c.fault == BoxFault::none && c.request.atr) {
      EXPECT_EQ(got.settings.size, model::atr_box(c.bars).value());
    }
    if (c.fault == BoxFault::none && !c.request.atr) {
      EXPECT_EQ(got.settings, c.request.settings);
    }
  }
  const model::BarColumns thirty = rising(30);
  const api::SettledBoxes atr = api::settle_boxes(thirty, {{BoxKind::kagi, 0.0, 0, false}, true});
  ASSERT_EQ(atr.fault, BoxFault::none);
  EXPECT_EQ(atr.settings.size, model::atr_box(thirty).value());
  EXPECT_GT(atr.settings.size, 0.0);
}

TEST(BoxChart, KeepsTheUsersBarsAndGivesThemBack) {
  const model::BarColumns bars = rising(12);
  const BoxSettings renko{BoxKind::renko, 2.0, 0, false};
  api::Chart c = api::draw_boxes(chart_of(bars), renko, false);
  ASSERT_TRUE(c.boxed());
  const model::Boxes want = model::make_boxes(bars, renko);
  EXPECT_EQ(c.bars, want.bars);
  EXPECT_EQ(c.source.last_bar, want.last_bar);
  EXPECT_EQ(c.source.bars, bars);
  EXPECT_EQ(&c.user_bars(), &c.source.bars);
  EXPECT_EQ(c.config.series.series_type, api::SeriesType::Renko);
  EXPECT_EQ(c.config.series.boxes, renko);

  // Another box style is made from the user's bars, not from the boxes.
  const BoxSettings kagi{BoxKind::kagi, 1.0, 0, false};
  c = api::draw_boxes(std::move(c), kagi, true);
  EXPECT_EQ(c.bars, model::make_boxes(bars, kagi).bars);
  EXPECT_TRUE(c.source.atr);

  // New bars make new boxes.
  const model::BarColumns more = rising(20, 3.0);
  c = api::replace_bars(std::move(c), more, kagi);
  EXPECT_EQ(c.source.bars, more);
  EXPECT_EQ(c.bars, model::make_boxes(more, kagi).bars);

  api::SeriesConfig line;
  line.series_type = api::SeriesType::Line;
  c = api::draw_bars(std::move(c), line);
  EXPECT_FALSE(c.boxed());
  EXPECT_EQ(c.bars, more);
  EXPECT_EQ(c.source, api::BoxSource{});
  c = api::replace_bars(std::move(c), bars, kagi);
  EXPECT_EQ(c.bars, bars);
  EXPECT_EQ(c.config.series.series_type, api::SeriesType::Line);
}

TEST(BoxChart, PlacedItemsAndTheOrderError) {
  struct Case {
    const char* what;
    void (*place)(api::ChartConfig&);
    bool placed;
  };
  const Case cases[] = {
      {"nothing", [](api::ChartConfig&) {}, false},
      {"colours and a title", [](api::ChartConfig& c) {
         c.title = "t";
         c.show_legend = true;
       }, false},
      {"a study", [](api::ChartConfig& c) { c.indicators.push_back(model::Indicator::make("sma", "SMA")); }, true},
      {"a tool", [](api::ChartConfig& c) { c.primitives.push_back(api::PrimitiveConfig::make("trend_line", {})); },
       true},
      {"a signal", [](api::ChartConfig& c) { c.signals.emplace_back(); }, true},
      {"a level", [](api::ChartConfig& c) { c.levels.emplace_back(); }, true},
      {"a view", [](api::ChartConfig& c) { c.view = api::ViewRequest{0, -1}; }, true},
  };
  for (const Case& c : cases) {
    api::ChartConfig config;
    c.place(config);
    EXPECT_EQ(api::has_placed_items(config), c.placed) << c.what;
  }
  EXPECT_EQ(api::order_error(api::SeriesType::PointAndFigure),
            "call point_and_figure() before studies, series, signals, markers, tools and views");
  EXPECT_EQ(api::order_error(api::SeriesType::HeikinAshi),
            "call heikin_ashi() before studies, series, signals, markers, tools and views");
}

TEST(BoxChart, PerBarColumnsTakeEachBoxsLastBar) {
  const std::vector<double> per_bar{10, 11, 12, 13, 14};
  const std::vector<std::size_t> last_bar{1, 1, 3, 4};
  EXPECT_EQ(api::on_boxes<double>(per_bar, last_bar), (std::vector<double>{11, 11, 13, 14}));
  EXPECT_TRUE(api::on_boxes<double>(per_bar, {}).empty());
}

TEST(BoxChart, JsonKeepsTheUsersBarsTheBoxesAndTheAtrRequest) {
  const model::BarColumns bars = rising(40, 0.7);
  const api::Chart c = api::draw_boxes(chart_of(bars), {BoxKind::point_and_figure, 1.5, 2, false}, true);
  const std::string text = api::chart_to_json(c);
  std::string error;
  const std::optional<api::Chart> twin = api::chart_from_json(text, error);
  ASSERT_TRUE(twin) << error;
  EXPECT_EQ(twin->bars, c.bars);
  EXPECT_EQ(twin->source, c.source);
  EXPECT_EQ(twin->config.series.boxes, c.config.series.boxes);
  EXPECT_EQ(api::chart_to_json(*twin), text);
}

}  // namespace
