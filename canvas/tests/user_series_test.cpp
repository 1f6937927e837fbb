// The caller's series, fills and levels: pane numbers, each style's elements, ranges joined in a sub-pane,
// fills split at crossings, level labels, the drawing and legend order of a shared sub-pane.
#include "api/chart.hpp"
#include "api/chart_renderer.hpp"
#include "api/indicator_painter.hpp"
#include "api/legend_painter.hpp"
#include "api/user_series.hpp"
#include "api/value_range.hpp"
#include "chart_support.hpp"
#include "primitives/support.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace qc;
using primitives::testing::parse_body;
using primitives::testing::SvgElement;
using qc::testing::body_of;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// 170 x 140: plot 100 x 110, four bars 25 px apart (x = 12.5, 37.5, 62.5, 87.5). A new pane of height 0.5
// lies from y = 59 to 110; with the range (-10, 10) a value v sits at y = 84.5 - 2.55 v.
api::Chart four_bars() {
  auto c = api::Chart::make(170, 140);
  c.bars = {{0, 5, 21, 1, 10, 100}, {86400, 5, 21, 1, 10, 100}, {172800, 5, 21, 1, 10, 100}, {259200, 5, 21, 1, 10, 100}};
  return c;
}

// The elements that carry one of `texts` in any attribute, in document order.
std::vector<SvgElement> carrying(const std::vector<SvgElement>& all, std::initializer_list<std::string_view> texts) {
  std::vector<SvgElement> out;
  std::copy_if(all.begin(), all.end(), std::back_inserter(out), [&](const SvgElement& e) {
    return std::any_of(e.attrs.begin(), e.attrs.end(), [&](const auto& a) {
      return std::find(texts.begin(), texts.end(), a.second) != texts.end();
    });
  });
  return out;
}

api::SeriesLooks looks_of(api::SeriesStyle style) {
  api::SeriesLooks looks;
  looks.style = style;
  looks.color = "#123456";
  looks.width = 2.0;
  looks.range = api::ValueRange{-10, 10};
  looks.height = 0.5;
  return looks;
}

model::Indicator with_values(model::Indicator ind, std::vector<double> values) {
  ind.vectors.at(0).values.assign(values.begin(), values.end());
  return ind;
}

}  // namespace

// Pane numbers count the sub-panes (a study's, the volume pane, a new one) top to bottom; a series that joined a
// pane made none, and an overlay or a volume band is no sub-pane.
TEST(UserPanes, NumbersNameTheSubPanesFromTheTopAndFromTheBottom) {
  api::ChartConfig config;
  model::Indicator pane = model::Indicator::make("p", "P");
  pane.placement = model::placement::SubPane{0.1};
  model::Indicator band = model::Indicator::make("v", "V");
  band.placement = model::placement::VolumeBand{0.2};
  model::Indicator joined = model::Indicator::make("j", "J");
  joined.placement = model::placement::Joins{0};
  config.indicators = {pane, model::Indicator::make("o", "O"), band, joined, pane};
  ASSERT_EQ(api::sub_pane_count(config), 2u);
  struct Case {
    std::int64_t index;
    std::optional<api::PaneTarget> want;
  };
  const Case cases[] = {
      {0, api::PaneTarget::main()},
      {1, api::PaneTarget::sub_pane(0)},
      {2, api::PaneTarget::sub_pane(1)},
      {-1, api::PaneTarget::sub_pane(1)},
      {-2, api::PaneTarget::sub_pane(0)},
      {3, std::nullopt},
      {-3, std::nullopt},
      {std::numeric_limits<std::int64_t>::min(), std::nullopt},
      {std::numeric_limits<std::int64_t>::max(), std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(api::pane_at(config, c.index), c.want) << c.index;
  EXPECT_EQ(api::pane_at(api::ChartConfig{}, -1), std::nullopt);
}

// Each style of the values 2, -4, NaN, 6 in a new pane: the elements worked out by hand from the pane's place.
TEST(UserSeriesStyles, EachStyleDrawsItsElements) {
  using Attrs = std::vector<std::pair<std::string, std::string>>;
  struct Case {
    api::SeriesStyle style;
    std::size_t count;  // elements in the series' colours
    std::string tag;    // the first one's
    Attrs attrs;        // some of its attributes
  };
  const std::string line = "12.50,79.40 37.50,94.70";  // the lone 6 after the gap draws no line
  const Case cases[] = {
      {api::SeriesStyle::line, 1, "polyline", {{"points", line}, {"stroke", "#123456"}, {"stroke-width", "2.00"}}},
      {api::SeriesStyle::dashed, 1, "polyline", {{"points", line}, {"stroke-dasharray", "4.00,4.00"}}},
      {api::SeriesStyle::dotted, 1, "polyline", {{"points", line}, {"stroke-dasharray", "2.00,2.00"}}},
      // One polyline per run: across to the next bar at the level reached, then down to its value.
      {api::SeriesStyle::step, 1, "polyline", {{"points", "12.50,79.40 37.50,79.40 37.50,94.70"}}},
      // Bars 34 px wide (0.8 of the canvas width per bar) from the value 0 at y = 84.5, coloured by sign.
      {api::SeriesStyle::histogram, 3, "rect",
       {{"x", "-4.50"}, {"y", "79.40"}, {"width", "34.00"}, {"height", "5.10"}, {"fill", "#00ff00"}}},
      {api::SeriesStyle::dots, 3, "circle", {{"cx", "12.50"}, {"cy", "79.40"}, {"r", "2.00"}, {"fill", "#123456"}}},
      // The tint down to the pane's foot at y = 110 first, then the line over it.
      {api::SeriesStyle::area, 2, "path",
       {{"d", "M12.50 79.40 L37.50 94.70 L37.50 110.00 L12.50 110.00 Z"}, {"fill", "rgba(18,52,86,0.2)"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(api::kSeriesStyleNames[static_cast<std::size_t>(c.style)]);
    api::SeriesLooks looks = looks_of(c.style);
    if (c.style == api::SeriesStyle::histogram) {
      looks.up_color = "#00ff00";
      looks.down_color = "#ff0000";
    }
    api::Chart chart = four_bars();
    chart.config.indicators.push_back(api::user_series("s", {2, -4, kNaN, 6}, api::PaneTarget::fresh(), looks));
    const auto drawn = carrying(body_of(chart), {"#123456", "#00ff00", "#ff0000", "rgba(18,52,86,0.2)"});
    ASSERT_EQ(drawn.size(), c.count);
    EXPECT_EQ(drawn[0].tag, c.tag);
    for (const auto& [name, value] : c.attrs) {
      EXPECT_EQ(drawn[0].has(name) ? drawn[0].at(name) : "(none)", value) << name;
    }
  }
  // The second bar of the histogram is below 0: from the baseline down, in the down colour.
  api::SeriesLooks looks = looks_of(api::SeriesStyle::histogram);
  looks.up_color = "#00ff00";
  looks.down_color = "#ff0000";
  api::Chart chart = four_bars();
  chart.config.indicators.push_back(api::user_series("s", {2, -4, kNaN, 6}, api::PaneTarget::fresh(), looks));
  const auto down = carrying(body_of(chart), {"#ff0000"});
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].at("y"), "84.50");
  EXPECT_EQ(down[0].at("height"), "10.20");
}

// A series that joins a sub-pane takes the pane's rule over its own values and the pane's together; a fixed
// range stays fixed; the joined series' levels count as a study's do.
TEST(UserPanes, JoinedSeriesTakeThePanesRangeRule) {
  const auto owner = [](model::RangeMode range, std::vector<double> values) {
    model::Indicator ind = model::Indicator::make("o", "O");
    ind.placement = model::placement::SubPane{0.2};
    ind.range = range;
    return with_values(std::move(ind).add_vector(model::IndicatorVector::make("v", model::VectorStyle::line("#fff", 1))),
                       std::move(values));
  };
  const auto joined = [](std::vector<double> values, std::vector<double> levels = {}) {
    api::SeriesLooks looks;
    looks.color = "#fff";
    looks.levels = std::move(levels);
    return api::user_series("j", {values.begin(), values.end()}, api::PaneTarget::sub_pane(0), looks);
  };
  struct Case {
    const char* name;
    model::Indicator pane;
    model::Indicator series;
    api::ValueRange want;
  };
  const Case cases[] = {
      // The span 1 to 5 padded by a tenth of its width on both sides.
      {"automatic", owner(model::range::Auto{}, {1, 2}), joined({5, kNaN}), {0.6, 5.4}},
      {"automatic with a level", owner(model::range::Auto{}, {1, 2}), joined({kNaN, kNaN}, {10}), {0.1, 10.9}},
      // 1.1 times the largest magnitude of both.
      {"symmetric", owner(model::range::Symmetric{}, {-1, 2}), joined({-3, 0}), {-3.3, 3.3}},
      {"from zero", owner(model::range::FromZero{}, {1, 2}), joined({4, 0}), {0, 4.4}},
      // A negative value makes it automatic: -1 to 2 padded by 0.3.
      {"from zero, negative", owner(model::range::FromZero{}, {1, 2}), joined({-1, 0}), {-1.3, 2.3}},
      {"fixed", owner(model::range::Fixed{0, 100}, {1, 2}), joined({150, -20}, {200}), {0, 100}},
  };
  for (const Case& c : cases) {
    const model::Indicator* const records[] = {&c.pane, &c.series};
    const api::ValueRange r = api::pane_range({}, records, {});
    EXPECT_NEAR(r.lo, c.want.lo, 1e-12) << c.name;
    EXPECT_NEAR(r.hi, c.want.hi, 1e-12) << c.name;
  }
}

// Fills are tinted at alpha 0x33 run by run: in the first colour where upper >= lower, in the second where not,
// split at each crossing; no edge line, and the legend names the fill alone.
TEST(UserFills, SplitAtCrossingsWithoutEdges) {
  struct Case {
    const char* name;
    std::vector<double> upper, lower;
    std::vector<std::pair<std::string, std::string>> paths;  // d, fill
  };
  // By the pane mapping of draw_alone: y = 100 - 10 v.
  const Case cases[] = {
      {"crossing halfway", {3, 1}, {1, 3},
       {{"M12.50 70.00 L25.00 80.00 L12.50 90.00 Z", "rgba(0,255,0,0.2)"},
        {"M25.00 80.00 L37.50 90.00 L37.50 70.00 Z", "rgba(255,0,0,0.2)"}}},
      {"gap between runs", {3, 3, kNaN, 3, 3}, {1, 1, 1, 1, 1},
       {{"M12.50 70.00 L37.50 70.00 L37.50 90.00 L12.50 90.00 Z", "rgba(0,255,0,0.2)"}}},
      {"equal sides count as above", {2, 2}, {2, 2}, {{"M12.50 80.00 L37.50 80.00 L37.50 80.00 L12.50 80.00 Z", "rgba(0,255,0,0.2)"}}},
  };
  const auto layout = api::Layout::make(170, 140, 4, 0);
  const coords::PriceMapping y{0, 10, 0, 100};
  for (const Case& c : cases) {
    const model::Indicator fill =
        api::user_fill("F", {c.upper.begin(), c.upper.end()}, {c.lower.begin(), c.lower.end()}, api::PaneTarget::main(), "#00ff00", "#ff0000");
    render::SvgBackend backend(170, 140, 1);
    api::draw_cloud_fills(backend, fill, y, layout);
    api::draw_indicator(backend, fill, y, y.y(0), layout, api::palette::UpDown{});
    const auto body = parse_body(backend.body());
    ASSERT_EQ(body.size(), c.paths.size()) << c.name;
    for (std::size_t i = 0; i < body.size(); ++i) {
      EXPECT_EQ(body[i].at("d"), c.paths[i].first) << c.name;
      EXPECT_EQ(body[i].at("fill"), c.paths[i].second) << c.name;
    }
  }
  render::SvgBackend legend(170, 140, 1);
  const model::Indicator fill = api::user_fill("Band", {3, 1}, {1, 3}, api::PaneTarget::main(), "#00ff00", "#ff0000");
  api::draw_legend_line(legend, fill, 16, {}, api::LegendColors::make({1, 2, 3, 255}, {0, 0, 0, 255}), 2);
  const auto lines = parse_body(legend.body());
  ASSERT_EQ(lines.size(), 3u);  // the backing, a square of the fill's colour 4 px before the name, the name
  EXPECT_EQ(lines[1].at("fill"), "rgba(0,255,0,0.2)");
  EXPECT_EQ(lines[1].at("x"), "8.00");
  EXPECT_EQ(lines[1].at("width"), "10.00");
  EXPECT_EQ(lines[1].at("height"), "10.00");
  EXPECT_EQ(lines[2].content, "Band");
  EXPECT_EQ(lines[2].at("x"), "22.00");
}

// A level's label stands 8 px above its line, or 8 px below where above would bring its centre within 6 px
// of the pane's top; a level the range leaves out is not drawn.
TEST(UserLevels, LabelAboveUnlessTooCloseToTheTop) {
  struct Case {
    double value;
    std::optional<double> line_y;   // none: nothing drawn
    std::optional<double> label_y;
  };
  // The pane from y = 0 to 100 over 0 to 10.
  const Case cases[] = {
      {5, 50, 42},
      {9.3, 7, 15},   // above would be at -1
      {8.6, 14, 6},   // exactly 6 px from the top stays above
      {10, 0, 8},
      {0, 100, 92},
      {10.5, std::nullopt, std::nullopt},
      {-0.1, std::nullopt, std::nullopt},
  };
  const coords::PriceMapping y{0, 10, 0, 100};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    model::IndicatorLevel level = model::IndicatorLevel::make("#ff00ff", c.value).with_label("R1");
    render::SvgBackend backend(170, 140, 1);
    api::draw_level_line(backend, level, y, 100);
    api::LevelLabels(y, 100, {0, 0, 0, 255}).draw(backend, level);
    const auto body = parse_body(backend.body());
    if (!c.line_y) {
      EXPECT_TRUE(body.empty());
      continue;
    }
    ASSERT_EQ(body.size(), 3u);  // line, backing, label
    EXPECT_NEAR(body[0].number("y1"), *c.line_y, 1e-9);
    EXPECT_EQ(body[0].at("stroke-dasharray"), "4.00,4.00");
    EXPECT_EQ(body[1].tag, "rect");
    EXPECT_EQ(body[2].content, "R1");
    EXPECT_NEAR(body[2].number("y"), *c.label_y, 1e-9);
    EXPECT_EQ(body[2].at("x"), "96.00");
    EXPECT_EQ(body[2].at("text-anchor"), "end");
    EXPECT_EQ(body[2].at("fill"), "#ff00ff");
  }
}

// Labels of one pane crowd as a scale's do: one whose 12 px box overlaps a label written before goes to the
// other side of its line, and is left out when it overlaps there too.
TEST(UserLevels, CrowdedLabelsMoveAcrossTheirLineOrAreLeftOut) {
  struct Case {
    double value;
    const char* label;
    std::optional<double> label_y;  // none: left out
  };
  // The pane from y = 0 to 100 over 0 to 10, the levels in call order.
  const Case cases[] = {
      {5, "A", 42},
      {5.5, "B", std::nullopt},  // above at 37 and below at 53 are both within 12 px of A
      {4, "C", 68},              // above at 52 overlaps A
      {2, "D", 88},              // above at 72 overlaps C
      {8, "E", 12},
      {9.3, "F", std::nullopt},  // below at 15 overlaps E, and the top leaves no room above (at -1)
  };
  const coords::PriceMapping y{0, 10, 0, 100};
  render::SvgBackend backend(170, 140, 1);
  api::LevelLabels labels(y, 100, {0, 0, 0, 255});
  for (const Case& c : cases) labels.draw(backend, model::IndicatorLevel::make("#ff00ff", c.value).with_label(c.label));
  std::map<std::string, double> written;
  for (const auto& e : parse_body(backend.body())) {
    if (e.tag == "text") written[e.content] = e.number("y");
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const auto at = written.find(c.label);
    ASSERT_EQ(at != written.end(), c.label_y.has_value());
    if (c.label_y) {
      EXPECT_NEAR(at->second, *c.label_y, 1e-9);
    }
  }
}

// In a shared sub-pane: the joined fills before the study's own level and line, the joined series after in
// call order; their legend lines follow the study's, one line apart; the pane count stays one.
TEST(UserPanes, JoinedRecordsDrawAfterTheStudyAndFollowItsLegendLine) {
  api::Chart chart = four_bars();
  model::Indicator study = model::Indicator::make("s", "Study");
  study.placement = model::placement::SubPane{0.5};
  study.range = model::range::Fixed{-10, 10};
  study = std::move(study).add_level(model::IndicatorLevel::make("#aaaaaa", 0));
  study = std::move(study).add_vector(model::IndicatorVector::make("v", model::VectorStyle::line("#bbbbbb", 1)));
  study.vectors[0].values = {1, 2, 3, 4};
  chart.config.indicators.push_back(study);
  api::SeriesLooks looks;
  looks.color = "#cccccc";
  chart = api::add_user_record(std::move(chart), api::user_series("Mine", {4, 3, 2, 1}, api::PaneTarget::sub_pane(0), looks),
                                 true);
  chart = api::add_user_record(std::move(chart), api::user_fill("Fill", {5, 5, 5, 5}, {0, 0, 0, 0},
                                                                 api::PaneTarget::sub_pane(0), "#dddddd", "#dddddd"),
                                 true);
  chart.config.show_legend = true;
  EXPECT_EQ(chart.config.user_series_calls, 2u);
  EXPECT_EQ(api::sub_pane_count(chart.config), 1u);
  const auto drawn = carrying(body_of(chart), {"rgba(221,221,221,0.2)", "#aaaaaa", "#bbbbbb", "#cccccc"});
  std::vector<std::string> order;
  for (const SvgElement& e : drawn) order.push_back(e.tag + " " + (e.has("fill") && e.at("fill") != "none" ? e.at("fill") : e.at("stroke")));
  EXPECT_EQ(order, (std::vector<std::string>{"path rgba(221,221,221,0.2)", "line #aaaaaa", "polyline #bbbbbb",
                                             "polyline #cccccc", "text #bbbbbb", "text #cccccc",
                                             "rect rgba(221,221,221,0.2)"}));  // the fill's legend square
  // The legend's names: the pane's frame starts at 59, its lines at 71 and 87.
  const auto body = body_of(chart);
  std::vector<std::pair<std::string, std::string>> names;
  for (const SvgElement& e : body) {
    if (e.tag == "text" && (e.content == "Study" || e.content == "Mine" || e.content == "Fill")) names.emplace_back(e.content, e.at("y"));
  }
  EXPECT_EQ(names, (std::vector<std::pair<std::string, std::string>>{{"Study", "71.00"}, {"Mine", "87.00"}, {"Fill", "103.00"}}));
}

// A series' levels are drawn where its pane's range holds them: on the price pane, whose range they do not
// stretch, and in a pane of fixed range; the others are left out rather than drawn over the panes around.
TEST(UserLevels, SeriesLevelsOutsideAFixedOrPriceRangeAreLeftOut) {
  struct Case {
    const char* name;
    api::PaneTarget pane;
    std::vector<double> levels;
    std::size_t drawn;
  };
  // The bars span 1 to 21 on the price pane; RSI-like pane fixed at 0 to 100.
  const Case cases[] = {
      {"price pane", api::PaneTarget::main(), {10, 500, -40}, 1},
      {"fixed sub-pane", api::PaneTarget::sub_pane(0), {50, 150, -1}, 1},
      {"fixed sub-pane, edges", api::PaneTarget::sub_pane(0), {0, 100}, 2},
  };
  for (const Case& c : cases) {
    api::Chart chart = four_bars();
    model::Indicator pane = model::Indicator::make("r", "R");
    pane.placement = model::placement::SubPane{0.3};
    pane.range = model::range::Fixed{0, 100};
    chart.config.indicators.push_back(pane);
    api::SeriesLooks looks;
    looks.color = "#123456";
    looks.levels = c.levels;
    chart.config.indicators.push_back(api::user_series("s", {kNaN, kNaN, kNaN, kNaN}, c.pane, looks));
    EXPECT_EQ(carrying(body_of(chart), {"2.00,2.00"}).size(), c.drawn) << c.name;
  }
}
