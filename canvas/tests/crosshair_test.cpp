// The pointer's bar, the values it reads on a pane, the bars' time texts and the hovered prices' line.
#include "api/crosshair.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "coords/bar_dates.hpp"
#include "coords/log_scale.hpp"

namespace qc::api {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// 1070 x 630: a plot 1000 px wide and 600 px high.
TEST(Crosshair, BarUnderX) {
  struct Case {
    const char* what;
    std::size_t bars, first, total;
    double x;
    std::optional<std::size_t> want;
  };
  const std::vector<Case> cases = {
      {"left edge", 4, 0, 4, 0.0, 0},
      {"just short of the second slot", 4, 0, 4, 249.999, 0},
      {"a slot's boundary goes right", 4, 0, 4, 250.0, 1},
      {"right edge", 4, 0, 4, 1000.0, 3},
      {"left of the plot", 4, 0, 4, -0.001, std::nullopt},
      {"on the price scale", 4, 0, 4, 1000.001, std::nullopt},
      {"not a number", 4, 0, 4, kNaN, std::nullopt},
      {"a view's bars keep their series index", 10, 20, 100, 950.0, 29},
      // A thousand bars to the pixel: x picks the bar, not the column.
      {"many bars a column, first", 1'000'000, 0, 1'000'000, 0.0005, 0},
      {"many bars a column, second", 1'000'000, 0, 1'000'000, 0.0015, 1},
      {"many bars a column, mid column", 1'000'000, 0, 1'000'000, 500.4996, 500'499},
      {"many bars a column, last", 1'000'000, 0, 1'000'000, 999.9999, 999'999},
  };
  for (const Case& c : cases) {
    const Layout layout = Layout::make(1070, 630, c.bars, 0.0, c.first, c.total);
    EXPECT_EQ(bar_under(layout, c.x), c.want) << c.what;
  }
  EXPECT_EQ(bar_under(Layout::make(50, 630, 4, 0.0), 0.0), std::nullopt) << "no plot left of the scale";
}

TEST(Crosshair, OverPlot) {
  const Layout layout = Layout::make(1070, 630, 4, 0.0);
  struct Case {
    Pointer p;
    bool want;
  };
  const std::vector<Case> cases = {{{0, 0}, true},        {{1000, 600}, true},   {{500, 600.5}, false},
                                   {{500, -0.5}, false},  {{1001, 300}, false},  {{500, kNaN}, false},
                                   {{kNaN, 300}, false}};
  for (const Case& c : cases) EXPECT_EQ(over_plot(layout, c.p), c.want) << c.p.x << ", " << c.p.y;
}

// The value placed at y is the value mapped to y, on linear and log panes alike.
TEST(Crosshair, ValueAtTurnsTheMappingBack) {
  const coords::PriceMapping linear{10.0, 30.0, 50.0, 200.0};
  EXPECT_DOUBLE_EQ(value_at(linear, 250.0), 10.0);
  EXPECT_DOUBLE_EQ(value_at(linear, 50.0), 30.0);
  EXPECT_DOUBLE_EQ(value_at(linear, 100.0), 25.0);
  const auto log = coords::log_price_mapping(10.0, 1000.0, 0.0, 400.0);
  ASSERT_TRUE(log.has_value());
  for (const double price : {10.0, 100.0, 523.5, 1000.0}) {
    EXPECT_NEAR(value_at(*log, log->y(price)), price, 1e-9 * price) << price;
  }
  const coords::PriceMapping flat{5.0, 5.0, 0.0, 0.0};
  EXPECT_TRUE(std::isfinite(value_at(flat, 3.0)));
}

model::BarColumns bars_at(const std::vector<std::int64_t>& times) {
  std::vector<model::Bar> bars;
  for (const std::int64_t t : times) bars.push_back({t, 1, 2, 0.5, 1.5, 10});
  return model::BarColumns(bars);
}

TEST(Crosshair, IntradayByTheMedianInterval) {
  constexpr std::int64_t kDay = 86'400;
  struct Case {
    const char* what;
    std::vector<std::int64_t> times;
    bool want;
  };
  const std::vector<Case> cases = {
      {"one bar", {0}, false},
      {"daily", {0, kDay, 2 * kDay, 3 * kDay}, false},
      {"daily over a weekend gap", {0, kDay, 4 * kDay, 5 * kDay, 6 * kDay}, false},
      {"five minutes with an overnight gap", {0, 300, 600, 900, 70'000, 70'300}, true},
      {"weekly", {0, 7 * kDay, 14 * kDay}, false},
      // Four gaps: the median is the mean of the middle two, which neither of them alone gives.
      {"middle gaps a day - 50 and a day + 100", {0, 100, kDay + 50, 2 * kDay + 150, 4 * kDay + 150}, false},
      {"middle gaps a day - 100 and a day + 50", {0, 100, kDay, 2 * kDay + 50, 4 * kDay + 50}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(intraday_bars(bars_at(c.times).view()), c.want) << c.what;
}

TEST(Crosshair, BarTimeTexts) {
  struct Case {
    std::int64_t seconds;
    bool minutes;
    const char* want;
  };
  const std::vector<Case> cases = {
      {0, false, "1970-01-01"},
      {1'704'209'700, true, "2024-01-02 15:35"},
      {1'704'209'700, false, "2024-01-02"},
      {-60, true, "1969-12-31 23:59"},
      {253'402'300'799, true, "9999-12-31 23:59"},
  };
  for (const Case& c : cases) {
    std::string s;
    coords::append_bar_time(s, c.seconds, c.minutes);
    EXPECT_EQ(s, c.want) << c.seconds;
  }
}

TEST(Crosshair, OhlcLine) {
  struct Case {
    model::Bar bar;
    int decimals;
    const char* want;
  };
  const std::vector<Case> cases = {
      {{0, 2875.1, 2901.27, 2869.7, 2874.56, 0}, 2, "O 2875.10 H 2901.27 L 2869.70 C 2874.56"},
      {{0, 1.23456, 1.3, 1.2, 1.25, 0}, 4, "O 1.2346 H 1.3000 L 1.2000 C 1.2500"},
      {{0, 12, 14, 11, 13, 0}, 0, "O 12 H 14 L 11 C 13"},
  };
  for (const Case& c : cases) {
    std::string s;
    append_ohlc(s, c.bar, c.decimals);
    EXPECT_EQ(s, c.want);
  }
}

}  // namespace
}  // namespace qc::api
