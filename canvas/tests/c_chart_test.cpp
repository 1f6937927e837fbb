// The C interface over the chart's JSON text: statuses for every bad argument, views, the document, and the
// bar under an x.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "api/c_chart.h"
#include "api/chart_json.hpp"
#include "api/chart_renderer.hpp"

namespace {

std::string chart_text(std::size_t bars, std::uint32_t width = 870) {
  qc::api::Chart c = qc::api::Chart::make(width, 400);  // a 800-pixel plot beside the 70-pixel scale
  for (std::size_t i = 0; i < bars; ++i) c.bars.push_back({static_cast<std::int64_t>(i) * 60, 1, 2, 0.5, 1.5, 9});
  return qc::api::chart_to_json(c);
}

struct Held {
  qc_chart* chart = nullptr;
  explicit Held(const std::string& text) { EXPECT_EQ(qc_chart_new(text.data(), text.size(), &chart), QC_OK); }
  ~Held() { qc_chart_free(chart); }
};

TEST(CChart, RefusesBadArgumentsWithAStatus) {
  const std::string text = chart_text(10);
  Held held(text);
  qc_chart* out = held.chart;
  const char* data = nullptr;
  std::size_t size = 0;
  std::int64_t a = 0, b = 0;
  double w = 0;
  EXPECT_EQ(qc_chart_new(text.data(), text.size(), nullptr), QC_BAD_ARGUMENT);
  EXPECT_EQ(qc_chart_new(nullptr, 3, &out), QC_BAD_ARGUMENT);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(qc_chart_set_view(nullptr, 0, 1), QC_BAD_ARGUMENT);
  EXPECT_EQ(qc_chart_set_view(held.chart, 5, 2), QC_BAD_ARGUMENT);
  EXPECT_EQ(qc_chart_set_view(held.chart, 10, 20), QC_BAD_ARGUMENT);  // starts after the last of 10 bars
  EXPECT_EQ(qc_chart_set_view(held.chart, -30, -11), QC_BAD_ARGUMENT);  // ends before the first
  EXPECT_EQ(qc_chart_view(held.chart, nullptr, &b), QC_BAD_ARGUMENT);
  EXPECT_EQ(qc_chart_render(nullptr, nullptr, &data, &size), QC_BAD_ARGUMENT);
  EXPECT_EQ(qc_chart_bar_at(held.chart, 1.0, nullptr), QC_BAD_ARGUMENT);
  EXPECT_EQ(qc_chart_bar_count(nullptr, &a), QC_BAD_ARGUMENT);
  EXPECT_EQ(qc_chart_bar_count(held.chart, nullptr), QC_BAD_ARGUMENT);
  EXPECT_EQ(qc_chart_plot_width(nullptr, &w), QC_BAD_ARGUMENT);
  EXPECT_EQ(qc_chart_plot_width(held.chart, nullptr), QC_BAD_ARGUMENT);
  EXPECT_EQ(qc_chart_view(held.chart, &a, &b), QC_OK);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 9);  // the refused view changed nothing
}

TEST(CChart, ABadTextNamesItsFirstBadKeyPath) {
  qc_chart* out = nullptr;
  const std::string text = chart_text(3).replace(0, 1, "[");
  EXPECT_EQ(qc_chart_new(text.data(), text.size(), &out), QC_BAD_TEXT);
  EXPECT_EQ(out, nullptr);
  std::size_t size = 0;
  const char* error = qc_error(&size);
  EXPECT_EQ(std::string(error, size), "invalid type: sequence, expected a map");
}

TEST(CChart, RendersTheDocumentOfTheChartAndItsView) {
  const std::string text = chart_text(40);
  std::string error;
  qc::api::Chart chart = *qc::api::chart_from_json(text, error);
  Held held(text);
  const char* data = nullptr;
  std::size_t size = 0;
  ASSERT_EQ(qc_chart_render(held.chart, nullptr, &data, &size), QC_OK);
  EXPECT_EQ(std::string(data, size), qc::api::ChartRenderer(chart.config, chart.bars).render_svg());
  ASSERT_EQ(qc_chart_set_view(held.chart, -10, -3), QC_OK);
  ASSERT_EQ(qc_chart_render(held.chart, nullptr, &data, &size), QC_OK);
  chart.config.view = qc::api::ViewRequest{-10, -3};
  EXPECT_EQ(std::string(data, size), qc::api::ChartRenderer(chart.config, chart.bars).render_svg());
  std::int64_t first = 0, last = 0, count = 0;
  ASSERT_EQ(qc_chart_view(held.chart, &first, &last), QC_OK);
  EXPECT_EQ(first, 30);
  EXPECT_EQ(last, 37);
  ASSERT_EQ(qc_chart_bar_count(held.chart, &count), QC_OK);
  EXPECT_EQ(count, 40);  // all bars, not the view's
}

TEST(CChart, GivesThePlotWidthBesideThePriceScale) {
  const struct {
    std::uint32_t width;
    double plot;
  } cases[] = {{870, 800}, {1200, 1130}, {70, 0}, {30, 0}};
  for (const auto& c : cases) {
    Held held(chart_text(5, c.width));
    double width = -1;
    ASSERT_EQ(qc_chart_plot_width(held.chart, &width), QC_OK);
    EXPECT_EQ(width, c.plot) << c.width;
  }
}

// The document with a pointer is the plain one with the pointer's group before its end; the group alone comes
// from its own call, empty off the plot.
TEST(CChart, DrawsThePointersGroupAsTheRendererDoes) {
  const std::string text = chart_text(40);
  std::string error;
  qc::api::Chart chart = *qc::api::chart_from_json(text, error);
  chart.config.view = qc::api::ViewRequest{5, 24};
  Held held(text);
  ASSERT_EQ(qc_chart_set_view(held.chart, 5, 24), QC_OK);
  const std::string plain = qc::api::ChartRenderer(chart.config, chart.bars).render_svg();
  // Over the plot, on its edges, and off it (on the scale, below the axis, not a number): off the plot
  // the document is the one without a pointer.
  const struct {
    double x, y;
    bool drawn;
  } cases[] = {{410, 120, true}, {0, 0, true}, {800, 5, true}, {830, 120, false}, {410, 399, false},
               {NAN, 120, false}, {410, NAN, false}, {-1, 120, false}};
  for (const auto& c : cases) {
    const double pointer[2] = {c.x, c.y};
    const char* data = nullptr;
    std::size_t size = 0;
    ASSERT_EQ(qc_chart_render(held.chart, pointer, &data, &size), QC_OK);
    const std::string expected =
        qc::api::ChartRenderer(chart.config, chart.bars, qc::api::Pointer{c.x, c.y}).render_svg();
    EXPECT_EQ(std::string(data, size), expected) << c.x << "," << c.y;
    ASSERT_EQ(qc_chart_render_pointer(held.chart, pointer, &data, &size), QC_OK);
    const std::string group(data, size);
    EXPECT_EQ(group.empty(), !c.drawn) << c.x << "," << c.y;
    constexpr std::string_view kEnd = "</svg>\n";
    EXPECT_EQ(expected, plain.substr(0, plain.size() - kEnd.size()) + group + std::string(kEnd)) << c.x << "," << c.y;
    if (c.drawn) {
      EXPECT_TRUE(group.starts_with("<g class=\"pointer\">\n") && group.ends_with("</g>\n")) << group;
    }
  }
  const double pointer[2] = {410, 120};
  const char* data = nullptr;
  std::size_t size = 1;
  EXPECT_EQ(qc_chart_render_pointer(held.chart, nullptr, &data, &size), QC_BAD_ARGUMENT);
  Held empty(chart_text(0));
  ASSERT_EQ(qc_chart_render_pointer(empty.chart, pointer, &data, &size), QC_OK);
  EXPECT_EQ(size, 0u);
}

TEST(CChart, FindsTheBarAPointerAtXHovers) {
  // 8 bars of a 10-bar view over a plot 800 pixels wide: slots of 100 pixels from bar 2 on, the plot's
  // right edge still over the last bar.
  const struct {
    double x;
    int status;
    std::int64_t bar;
  } cases[] = {{0.0, QC_OK, 2},        {99.999, QC_OK, 2}, {100.0, QC_OK, 3},         {799.999, QC_OK, 9},
               {800.0, QC_OK, 9}, {800.5, QC_OUTSIDE, -1}, {-0.5, QC_OUTSIDE, -1}, {NAN, QC_OUTSIDE, -1}, {INFINITY, QC_OUTSIDE, -1}};
  Held held(chart_text(20));
  ASSERT_EQ(qc_chart_set_view(held.chart, 2, 9), QC_OK);
  for (const auto& c : cases) {
    std::int64_t bar = -1;
    EXPECT_EQ(qc_chart_bar_at(held.chart, c.x, &bar), c.status) << c.x;
    EXPECT_EQ(bar, c.bar) << c.x;
  }
  // 4000 bars over 800 pixels: five bars to a pixel column, told apart by x itself.
  Held dense(chart_text(4000));
  for (const auto& [x, expected] : {std::pair{0.1, 0}, {0.25, 1}, {0.99, 4}, {400.5, 2002}, {799.9, 3999}}) {
    std::int64_t bar = -1;
    EXPECT_EQ(qc_chart_bar_at(dense.chart, x, &bar), QC_OK) << x;
    EXPECT_EQ(bar, expected) << x;
  }
  Held empty(chart_text(0));
  std::int64_t bar = -1, first = 0, last = 0;
  EXPECT_EQ(qc_chart_bar_at(empty.chart, 10.0, &bar), QC_OUTSIDE);
  EXPECT_EQ(qc_chart_view(empty.chart, &first, &last), QC_OK);
  EXPECT_EQ(first, -1);
  EXPECT_EQ(last, -1);
}

std::string render(const Held& held) {
  const char* data = nullptr;
  std::size_t size = 0;
  EXPECT_EQ(qc_chart_render(held.chart, nullptr, &data, &size), QC_OK);
  return {data, size};
}

// Bars appended and the last updated give the document of the chart made with all of them, a view in
// negative indices following them and one in positive indices staying.
TEST(CChart, GrowsByABarAsAChartMadeWithAllTheBars) {
  for (const auto& [first, last] : {std::pair<std::int64_t, std::int64_t>{-5, -1}, {2, 6}}) {
    Held grown(chart_text(10));
    Held whole(chart_text(13));
    ASSERT_EQ(qc_chart_set_view(grown.chart, first, last), QC_OK);
    ASSERT_EQ(qc_chart_set_view(whole.chart, first, last), QC_OK);
    for (std::int64_t t = 600; t <= 720; t += 60) {
      ASSERT_EQ(qc_chart_append(grown.chart, t, 1, 3, 0.25, 2.5, 1), QC_OK);
      ASSERT_EQ(qc_chart_update(grown.chart, t, 1, 2, 0.5, 1.5, 9), QC_OK);
    }
    EXPECT_EQ(render(grown), render(whole)) << first;
  }
}

TEST(CChart, RefusesABarWithTheTextOfPythonsError) {
  Held held(chart_text(10));
  Held empty(chart_text(0));
  const struct {
    const Held& held;
    bool update;
    std::int64_t time;
    int status;
    std::string error;
  } cases[] = {
      {held, false, 540, QC_REFUSED, "argument 'bar': 1970-01-01 00:09 is not after the last bar, 1970-01-01 00:09"},
      {held, true, 541, QC_REFUSED, "argument 'bar': 1970-01-01 00:09:01 is not the last bar's time, 1970-01-01 00:09"},
      {empty, true, 0, QC_REFUSED, "argument 'bar': the chart has no bar to update"},
  };
  for (const auto& c : cases) {
    const std::string before = render(c.held);
    const int status = c.update ? qc_chart_update(c.held.chart, c.time, 1, 2, 0.5, 1.5, 9)
                                : qc_chart_append(c.held.chart, c.time, 1, 2, 0.5, 1.5, 9);
    EXPECT_EQ(status, c.status) << c.error;
    std::size_t size = 0;
    const char* error = qc_error(&size);
    EXPECT_EQ(std::string(error, size), c.error);
    EXPECT_EQ(render(c.held), before) << c.error;  // a refused bar changes nothing
  }
  EXPECT_EQ(qc_chart_append(nullptr, 0, 1, 1, 1, 1, 0), QC_BAD_ARGUMENT);
  EXPECT_EQ(qc_chart_update(nullptr, 0, 1, 1, 1, 1, 0), QC_BAD_ARGUMENT);
  ASSERT_EQ(qc_chart_append(empty.chart, 0, 1, 2, 0.5, 1.5, 9), QC_OK);  // an append starts the bars
  std::int64_t count = 0;
  ASSERT_EQ(qc_chart_bar_count(empty.chart, &count), QC_OK);
  EXPECT_EQ(count, 1);
}

}  // namespace
