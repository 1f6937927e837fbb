// Price-scale steps, ticks and labels; time-axis strides, weights, labels and drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "coords/price_scale.hpp"
#include "coords/time_axis.hpp"

namespace qc::coords {
namespace {

const double kNaN = std::nan("");
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NiceNumber, RoundsToOneTwoFiveSteps) {
  struct Case {
    double x, step;
  };
  const Case cases[] = {{0, 1},     {-3, 1},   {100, 100}, {120, 100}, {130, 200}, {1.2, 1},  {2.4, 2},
                        {3, 5},     {4.5, 5},  {0.21, 0.2}, {7, 10},   {9, 10},    {0.026, 0.05},
                        {0.03, 0.05}, {2.5, 2}, {kInf, kInf}, {1e-300, 1e-300}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(nice_number(c.x), c.step) << c.x;
  EXPECT_TRUE(std::isnan(nice_number(kNaN)));
}

TEST(FormatPrice, DecimalsFollowTheStep) {
  struct Case {
    double price, step;
    const char* text;
  };
  const Case cases[] = {
      {1234.5678, 1, "1235"},         {1234.5678, 0.05, "1234.57"},   {1234.5678, 0.00005, "1234.56780"},
      {1234.5678, 0.5, "1234.6"},     {1234.5678, 0.001, "1234.568"}, {1234.5678, 0.0001, "1234.5678"},
      {-2.5, 1, "-2"},                {0.125, 0.01, "0.12"},          {1234.5678, kNaN, "1234.56780"},
      {-0.0, 1, "0"},                 {-1e-17, 0.1, "0.0"},           {-0.04, 0.1, "0.0"},
      {-0.05, 0.1, "-0.1"},           {1e20, 100, "100000000000000000000"},
      {kInf, 1, "inf"},               {-kInf, 1, "-inf"},             {kNaN, 1, "NaN"},
      // Below 1e-5 a decimal per power of ten, to ten; each threshold is the double nearest 1e-d.
      {0.000093, 0.00001, "0.00009"}, {0.000093, 2e-6, "0.000093"},   {0.000093, 1e-6, "0.000093"},
      {0.000093, std::nextafter(1e-6, 0.0), "0.0000930"},            {-0.0000012345, 5e-7, "-0.0000012"},
      {1.7e-9, 2e-9, "0.000000002"},  {1.5e-9, 1e-10, "0.0000000015"}, {1.5e-9, 5e-11, "0.0000000015"},
      {3e-12, 1e-15, "0.0000000000"}, {1.25e-10, -1, "0.0000000001"},  {1234.5678, 1e-9, "1234.567800000"},
  };
  for (const Case& c : cases) EXPECT_EQ(format_price(c.price, c.step), c.text) << c.price << " step " << c.step;
}

std::vector<double> ticks_of(double lo, double hi, double height) {
  const PriceTicks t = price_ticks(lo, hi, height);
  return {t.ticks().begin(), t.ticks().end()};
}

TEST(PriceTicks, CountStepAndRange) {
  EXPECT_EQ(ticks_of(95, 105, 300), (std::vector<double>{95, 96, 97, 98, 99, 100, 101, 102, 103, 104}));
  EXPECT_EQ(price_ticks(0, 40, 60).step, 10);   // count 4
  EXPECT_EQ(price_ticks(0, 40, 900).step, 2);   // count 20: 30 is clamped
  EXPECT_EQ(price_ticks(0, 40, kNaN).step, 10);
  const PriceTicks fifths = price_ticks(0.5, 1.5, 120);  // 0.25 a tick rounds down to 0.2
  EXPECT_EQ(fifths.step, 0.2);
  ASSERT_EQ(fifths.count, 5u);
  EXPECT_DOUBLE_EQ(fifths.values[0], 0.6);
  EXPECT_DOUBLE_EQ(fifths.values[4], 1.4);
}

TEST(PriceTicks, TickNearZeroIsLabelledWithoutSign) {
  const PriceTicks t = price_ticks(-0.3, 0.25, 300);
  std::vector<std::string> labels;
  for (double v : t.ticks()) labels.push_back(format_price(v, t.step));
  EXPECT_NE(std::find(labels.begin(), labels.end(), "0.00"), labels.end());
  EXPECT_EQ(std::find(labels.begin(), labels.end(), "-0.00"), labels.end());
}

TEST(PriceTicks, TinyPricesKeepDistinctLabels) {
  // Prices near 0.0001 with a step of 2e-6: six decimals set every label apart.
  const PriceTicks t = price_ticks(0.000089, 0.000111, 300);
  EXPECT_DOUBLE_EQ(t.step, 2e-6);
  ASSERT_GE(t.count, 9u);
  std::vector<std::string> labels;
  for (double v : t.ticks()) labels.push_back(format_price(v, t.step));
  EXPECT_EQ(labels.front(), "0.000090");
  EXPECT_EQ(labels[5], "0.000100");
  for (std::size_t i = 1; i < labels.size(); ++i) EXPECT_NE(labels[i - 1], labels[i]) << i;
}

TEST(PriceTicks, DegenerateRangesHaveNoTicks) {
  for (auto [lo, hi] : {std::pair{5.0, 5.0}, {7.0, 3.0}, {kNaN, 1.0}, {0.0, kInf}, {-kInf, 0.0}}) {
    EXPECT_TRUE(ticks_of(lo, hi, 300).empty()) << lo << ", " << hi;
  }
  EXPECT_EQ(price_ticks(7, 3, 300).step, 1.0);
}

TEST(PriceTicks, StepBelowThePricesResolutionEnds) {
  // Near 1e17 doubles are 16 apart: adding a step of 5 no longer moves a tick forward.
  const PriceTicks stuck = price_ticks(1e17, 1e17 + 48, 300);
  EXPECT_EQ(stuck.step, 5);
  EXPECT_EQ(stuck.count, 1u);
  // A step of 20 advances by the nearest representable 16: more ticks than the step implies, each one new.
  const PriceTicks coarse = price_ticks(1e17, 1e17 + 192, 300);
  EXPECT_EQ(coarse.step, 20);
  ASSERT_EQ(coarse.count, 12u);
  for (std::size_t i = 1; i < coarse.count; ++i) EXPECT_EQ(coarse.values[i] - coarse.values[i - 1], 16.0);
}

TEST(PriceLabels, FontSizeByLongestLabel) {
  EXPECT_EQ(price_label_font_size(9), 11.0);
  EXPECT_EQ(price_label_font_size(10), 10.0);
  EXPECT_EQ(price_label_font_size(11), 10.0);
  EXPECT_EQ(price_label_font_size(12), 9.0);
}

std::vector<std::string> lines_of(std::string_view body) {
  std::vector<std::string> out;
  while (!body.empty()) {
    const std::size_t nl = body.find('\n');
    out.emplace_back(body.substr(0, nl));
    body.remove_prefix(nl + 1);
  }
  return out;
}

TEST(PriceScale, ElementsOfASmallScale) {
  render::SvgBackend svg(400, 300, 1);
  render_price_scale(svg, {"#101010", "bad", ""}, 330, 0, 60, 0, 4);
  const auto lines = lines_of(svg.body());
  ASSERT_EQ(lines.size(), 2u + 2 * 4);
  EXPECT_EQ(lines[0], R"(<rect x="330.00" y="0.00" width="70.00" height="60.00" fill="#101010"/>)");
  EXPECT_EQ(lines[1], R"(<line x1="330.00" y1="0.00" x2="330.00" y2="60.00" stroke="#2a2e39" stroke-width="1.00"/>)");
  EXPECT_EQ(lines[4], R"(<line x1="330.00" y1="45.00" x2="334.00" y2="45.00" stroke="#2a2e39" stroke-width="1.00"/>)");
  EXPECT_EQ(lines[5],
            R"(<text x="336.00" y="45.00" fill="#b4b4b4" font-family="sans-serif" font-size="11.0" )"
            R"(text-anchor="start" dominant-baseline="central">1</text>)");
}

TEST(PriceScale, LongLabelsShrinkTheFont) {
  render::SvgBackend svg(400, 300, 1);
  render_price_scale(svg, {"", "", ""}, 0, 0, 300, 1234567.5, 1234568.5);  // step 0.1: "1234568.5" is 9 bytes
  EXPECT_NE(svg.body().find(R"(font-size="11.0")"), std::string_view::npos);
  render::SvgBackend svg2(400, 300, 1);
  render_price_scale(svg2, {"", "", ""}, 0, 0, 300, 12345678.5, 12345679.5);  // 10 bytes
  EXPECT_NE(svg2.body().find(R"(font-size="10.0")"), std::string_view::npos);
  render::SvgBackend svg3(400, 300, 1);
  render_price_scale(svg3, {"", "", ""}, 0, 0, 300, 0.0001, 0.0002);  // step 1e-5: "0.00010" is 7 bytes
  EXPECT_NE(svg3.body().find(R"(font-size="11.0")"), std::string_view::npos);
  EXPECT_EQ(svg3.body().find(R"(font-size="10.0")"), std::string_view::npos);
}

TEST(TimeAxis, StrideSaturates) {
  struct Case {
    double spacing;
    std::uint64_t k;
  };
  const Case cases[] = {{20, 3},  {5, 12}, {60, 1}, {100, 1}, {7, 9}, {0, std::numeric_limits<std::uint64_t>::max()},
                        {1e-300, std::numeric_limits<std::uint64_t>::max()}, {-1, 1}, {kNaN, 1}};
  for (const Case& c : cases) EXPECT_EQ(time_axis_stride(c.spacing), c.k) << c.spacing;
}

constexpr std::int64_t kDay = 86'400;

TEST(TimeAxis, WeightOfTheLargestChangedUnit) {
  struct Case {
    std::int64_t ts, prev;
    int weight;
  };
  const Case cases[] = {
      {400 * kDay, 0, 70},            {40 * kDay, 0, 60},         {8 * kDay, 0, 40},
      {6 * kDay + 3600, 5 * kDay, 50}, {5 * 3600, 3 * 3600, 35},   {3600, 0, 30},
      {1800, 0, 20},                  {300, 0, 15},               {60, 0, 10},
      {59, 0, 0},                     {-60, 0, 10},               {7 * kDay, 6 * kDay, 40},
  };
  for (const Case& c : cases) EXPECT_EQ(time_label_weight(c.ts, c.prev), c.weight) << c.ts << " vs " << c.prev;
}

TEST(TimeAxis, LabelTexts) {
  struct Case {
    std::int64_t ts;
    int weight;
    const char* text;
  };
  const Case cases[] = {
      {0, 70, "1970"},
      {34 * 365 * kDay, 70, "2004"},
      {45 * kDay, 60, "Feb"},
      {45 * kDay, 50, "16 Feb"},
      {45 * kDay, 40, "16 Feb"},
      {330 * kDay, 60, "Dec"},
      {360 * kDay, 50, "1 Dec"},  // the 30-day months leave days 360 to 364 as a short thirteenth
      {364 * kDay, 50, "5 Dec"},
      {365 * kDay, 50, "1 Jan"},
      {9 * 3600 + 5 * 60 + 59, 30, "09:05"},
      {kDay - 1, 10, "23:59"},
      {-2 * 365 * kDay, 70, "1968"},
      {-40 * kDay, 60, "Dec"},
      {-60, 10, "00:-1"},
      {-3700, 35, "-1:-1"},
      {-11 * 3600, 0, "-11:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(time_label(c.ts, c.weight), c.text) << c.ts;
}

std::vector<std::string> texts_of(std::string_view body) {
  std::vector<std::string> out;
  for (const std::string& l : lines_of(body)) {
    if (!l.starts_with("<text")) continue;
    const std::size_t open = l.find('>') + 1;
    out.push_back(l.substr(open, l.find('<', open) - open));
  }
  return out;
}

TEST(TimeAxis, DailyBarsAreDrawnAtEveryStride) {
  std::vector<std::int64_t> ts;
  for (int i = 0; i < 10; ++i) ts.push_back(34 * 365 * kDay + i * kDay);
  render::SvgBackend svg(270, 130, 1);
  render_time_axis(svg, {"#101010", "bad", ""}, 200, 100, 20, ts.size(), [&](std::size_t i) { return ts[i]; });
  const auto lines = lines_of(svg.body());
  ASSERT_EQ(lines.size(), 2u + 2 * 3);  // bars 0, 3 and 6; bar 9 lies beyond plot width - 30
  EXPECT_EQ(lines[0], R"(<rect x="0.00" y="100.00" width="270.00" height="30.00" fill="#101010"/>)");
  EXPECT_EQ(lines[1], R"(<line x1="0.00" y1="100.00" x2="200.00" y2="100.00" stroke="#2a2e39" stroke-width="1.00"/>)");
  EXPECT_EQ(lines[2], R"(<line x1="10.00" y1="100.00" x2="10.00" y2="104.00" stroke="#2a2e39" stroke-width="1.00"/>)");
  EXPECT_EQ(lines[3],
            R"(<text x="10.00" y="106.00" fill="#b4b4b4" font-family="sans-serif" font-size="10.0" )"
            R"(text-anchor="middle" dominant-baseline="hanging">2004</text>)");
  EXPECT_EQ(texts_of(svg.body()), (std::vector<std::string>{"2004", "4 Jan", "7 Jan"}));
}

TEST(TimeAxis, MinuteBarsLabelMinorBoundariesOnEveryThirdStride) {
  // One-minute bars from 00:30 with spacing 5: stride 12, so every visited bar crosses a 5-minute mark
  // and only those at multiples of 36 (or crossing an hour) are labelled.
  std::vector<std::int64_t> ts;
  for (int i = 0; i < 200; ++i) ts.push_back(400 * kDay + 1800 + 60 * i);
  render::SvgBackend svg(1070, 530, 1);
  std::vector<std::size_t> visited;
  render_time_axis(svg, {"", "", ""}, 1000, 500, 5, ts.size(), [&](std::size_t i) {
    visited.push_back(i);
    return ts[i];
  });
  EXPECT_EQ(visited.size(), 17u);  // 0, 12, …, 192
  // Bar 0 lies at x = 2.5 (< 10). Drawn: the multiples of 36 (01:06, 01:42, 02:18, 02:54, 03:30) and the
  // bars that cross an hour (01:06, 02:06, 03:06); skipped: 01:30 and 02:30 (half hours), the rest.
  const auto texts = texts_of(svg.body());
  EXPECT_EQ(texts, (std::vector<std::string>{"01:06", "01:42", "02:06", "02:18", "02:54", "03:06", "03:30"}));
}

TEST(TimeAxis, HugeStrideVisitsOnlyTheFirstBar) {
  render::SvgBackend svg(170, 130, 1);
  std::size_t calls = 0;
  render_time_axis(svg, {"", "", ""}, 100, 100, 0, std::numeric_limits<std::size_t>::max(), [&](std::size_t) {
    ++calls;
    return std::int64_t{0};
  });
  EXPECT_EQ(calls, 1u);
}

}  // namespace
}  // namespace qc::coords
