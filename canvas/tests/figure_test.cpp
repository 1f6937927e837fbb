// A figure's pieces for the page's core: the bar holding an instant, and the C interface's charts nested in
// a figure, sharing the first one's time, and placing a bar's centre where the pointer finds that bar.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "api/c_chart.h"
#include "api/chart_json.hpp"
#include "api/figure.hpp"

namespace {

TEST(Figure, TheBarHoldingAnInstant) {
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  const std::vector<std::int64_t> spaced{100, 200, 300}, lone{100}, far{kMin, kMax};
  const struct {
    const std::vector<std::int64_t>* times;
    std::int64_t t;
    std::optional<std::size_t> bar;
  } cases[] = {
      {&spaced, 99, std::nullopt}, {&spaced, 100, 0}, {&spaced, 199, 0}, {&spaced, 200, 1}, {&spaced, 300, 2},
      {&spaced, 399, 2},  // the last bar's span is the one before it
      {&spaced, 400, std::nullopt}, {&lone, 100, 0}, {&lone, 101, std::nullopt}, {&far, 0, 0}, {&far, kMax, 1},
  };
  for (const auto& c : cases) EXPECT_EQ(qc::api::bar_holding(*c.times, c.t), c.bar) << c.t;
  EXPECT_EQ(qc::api::bar_holding({}, 5), std::nullopt);
}

struct Held {
  qc_chart* chart = nullptr;
  Held(std::int64_t start, std::int64_t step, std::size_t bars) {
    qc::api::Chart c = qc::api::Chart::make(870, 400);
    for (std::size_t i = 0; i < bars; ++i) {
      c.bars.push_back({start + static_cast<std::int64_t>(i) * step, 1, 2, 0.5, 1.5, 9});
    }
    const std::string text = qc::api::chart_to_json(c);
    EXPECT_EQ(qc_chart_new(text.data(), text.size(), &chart), QC_OK);
  }
  ~Held() { qc_chart_free(chart); }
  std::string render() {
    const char* data = nullptr;
    std::size_t size = 0;
    EXPECT_EQ(qc_chart_render(chart, nullptr, &data, &size), QC_OK);
    return {data, size};
  }
  std::pair<std::int64_t, std::int64_t> view() {
    std::int64_t first = 0, last = 0;
    EXPECT_EQ(qc_chart_view(chart, &first, &last), QC_OK);
    return {first, last};
  }
};

TEST(Figure, ChartsOfTheCInterfaceNestShareTimeAndPlaceBars) {
  Held daily(0, 86400, 30), hourly(0, 3600, 24 * 30), later(100 * 86400, 86400, 5);
  ASSERT_EQ(qc_chart_set_view(daily.chart, 10, 19), QC_OK);
  ASSERT_EQ(qc_chart_nest(hourly.chart, 2, 610, 28), QC_OK);
  ASSERT_EQ(qc_chart_share_time(hourly.chart, daily.chart), QC_OK);
  ASSERT_EQ(qc_chart_share_time(later.chart, daily.chart), QC_OK);
  EXPECT_EQ(hourly.view(), std::make_pair(std::int64_t{240}, std::int64_t{456}));
  const std::string nested = hourly.render();
  EXPECT_EQ(nested.rfind(R"(<svg x="610" y="28" xmlns=)", 0), 0u);
  EXPECT_NE(nested.find(R"(<clipPath id="c2-clip0">)"), std::string::npos);
  EXPECT_NE(nested.find(R"x(clip-path="url(#c2-clip0)")x"), std::string::npos);
  // None of the later chart's bars falls in the first chart's view.
  EXPECT_EQ(later.view(), std::make_pair(std::int64_t{-1}, std::int64_t{-1}));
  EXPECT_NE(later.render().find("No data"), std::string::npos);
  std::int64_t bar = 0, time = 0;
  double x = 0;
  EXPECT_EQ(qc_chart_bar_at(later.chart, 10.0, &bar), QC_OUTSIDE);
  // A drawn bar's centre is where the pointer finds it; a bar outside the view has none.
  for (const std::int64_t b : {240, 300, 456}) {
    ASSERT_EQ(qc_chart_bar_x(hourly.chart, b, &x), QC_OK);
    ASSERT_EQ(qc_chart_bar_at(hourly.chart, x, &bar), QC_OK);
    EXPECT_EQ(bar, b);
  }
  EXPECT_EQ(qc_chart_bar_x(hourly.chart, 239, &x), QC_OUTSIDE);
  EXPECT_EQ(qc_chart_bar_time(hourly.chart, 300, &time), QC_OK);
  EXPECT_EQ(time, 300 * 3600);
  EXPECT_EQ(qc_chart_bar_time(hourly.chart, 24 * 30, &time), QC_OUTSIDE);
  EXPECT_EQ(qc_chart_bar_holding(daily.chart, 300 * 3600, &bar), QC_OK);
  EXPECT_EQ(bar, 12);
}

}  // namespace
