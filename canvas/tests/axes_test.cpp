// Price-scale steps, ticks and labels; time-axis weights, label choice, texts and drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "coords/price_scale.hpp"
#include "coords/time_axis.hpp"
#include "primitives/support.hpp"
#include "render/chart/axes.hpp"

namespace qc::coords {
namespace {

using primitives::testing::as_shapes;
using primitives::testing::parse_body;
using primitives::testing::SvgElement;
using render::render_price_scale;
using render::render_time_axis;

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
  ASSERT_EQ(lines.size(), 2u + 4 - 1);  // 0's label, moved 6 px up from the foot, would touch 1's
  EXPECT_EQ(lines[0], R"(<path d="M330.00 0.00h70.00v60.00h-70.00Z" fill="#101010" stroke="none"/>)");
  // The border, then a mark at each tick.
  EXPECT_EQ(lines[1], R"(<path d="M330.00 0.00V60.00M330.00 60.00H334.00M330.00 45.00H334.00M330.00 30.00H334.00)"
                      R"(M330.00 15.00H334.00" stroke="#2a2e39" stroke-width="1.00" fill="none"/>)");
  EXPECT_EQ(lines[2],
            R"(<text x="336.00" y="45.00" fill="#b4b4b4" font-family="sans-serif" font-size="11.0" )"
            R"(text-anchor="start" dominant-baseline="central">1</text>)");
}

// Labels stay 6 px inside their pane and, going down, one that would overlap the last written (both 12 px
// tall) is left out; every tick keeps its mark at its own place.
TEST(PriceScale, CrowdedLabelsMoveInsideThePaneAndMakeRoom) {
  using Written = std::pair<std::string, double>;  // a label's text and y
  struct Case {
    const char* name;
    double top, height, hi;
    std::vector<double> ticks;  // from lo = 0
    std::vector<double> marks;
    std::vector<Written> labels;
  };
  const Case cases[] = {
      {"edges move inward", 100, 100, 100, {0, 50, 97}, {200, 150, 103}, {{"0", 194}, {"50", 150}, {"97", 106}}},
      {"crowded: every other", 0, 40, 40, {0, 10, 20, 30}, {40, 30, 20, 10}, {{"10", 30}, {"30", 10}}},
      {"12 px apart is no overlap", 0, 48, 48, {0, 12, 24}, {48, 36, 24}, {{"12", 36}, {"24", 24}}},
      {"the top one wins", 0, 20, 20, {0, 19}, {20, 1}, {{"19", 6}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PriceTicks ticks;
    ticks.step = 1;
    ticks.count = c.ticks.size();
    std::copy(c.ticks.begin(), c.ticks.end(), ticks.values.begin());
    render::SvgBackend svg(400, 300, 1);
    render_price_scale(svg, {"", "", ""}, 330, c.top, c.height, 0, c.hi, ticks);
    std::vector<double> marks;
    std::vector<Written> labels;
    for (const SvgElement& e : as_shapes(parse_body(svg.body()))) {
      if (e.tag == "line" && e.at("x1") == "330.00" && e.at("x2") == "334.00") {
        marks.push_back(e.number("y1"));
      } else if (e.tag == "text") {
        labels.push_back({e.content, e.number("y")});
      }
    }
    EXPECT_EQ(marks, c.marks);
    EXPECT_EQ(labels, c.labels);
  }
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

// A sub-pane whose largest |tick| reaches 100,000 writes t / u with the decimals of step / u and the unit's
// suffix, u = 1000^k for the largest k (1 to 4) with that tick at or above it; a text rounding to zero is
// "0". The main pane, and sub-panes below the threshold, keep full numbers.
TEST(PriceScale, LabelsInUnits) {
  struct Case {
    double lo, hi, height;
    ScaleNumbers numbers;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {0, 1.1e11, 81.5, ScaleNumbers::in_units, {"0", "50B", "100B"}},
      {-1e11, 1.2e12, 81.5, ScaleNumbers::in_units, {"0", "0.5T", "1.0T"}},  // the first tick is -0
      {-250000, 250000, 300, ScaleNumbers::in_units,
       {"-250K", "-200K", "-150K", "-100K", "-50K", "0", "50K", "100K", "150K", "200K"}},
      {1e6, 1e6 + 40, 120, ScaleNumbers::in_units, {"1.00000M", "1.00001M", "1.00002M", "1.00003M"}},
      {0, 99000, 81.5, ScaleNumbers::in_units, {"0", "20000", "40000", "60000", "80000"}},
      {0, 1.1e11, 81.5, ScaleNumbers::full, {"0", "50000000000", "100000000000"}},
  };
  for (const Case& c : cases) {
    const PriceTicks ticks = price_ticks(c.lo, c.hi, c.height);
    const ScaleLabels labels(ticks, c.numbers);
    std::vector<std::string> texts;
    for (double t : ticks.ticks()) labels.append(texts.emplace_back(), t);
    EXPECT_EQ(texts, c.labels) << c.lo << " " << c.hi;
  }
  // Short labels keep the largest font; in full the same scale shrinks to 9.
  render::SvgBackend svg(400, 300, 1);
  render_price_scale(svg, {"", "", ""}, 0, 0, 81.5, 0, 1.1e11, ScaleNumbers::in_units);
  EXPECT_NE(svg.body().find(R"(font-size="11.0" text-anchor="start" dominant-baseline="central">100B<)"),
            std::string_view::npos);
  render::SvgBackend full(400, 300, 1);
  render_price_scale(full, {"", "", ""}, 0, 0, 81.5, 0, 1.1e11);
  EXPECT_NE(full.body().find(R"(font-size="9.0")"), std::string_view::npos);
}

constexpr std::int64_t kDay = 86'400;
constexpr std::int64_t k2020 = 1'577'836'800;  // 2020-01-01 00:00 UTC, a Wednesday
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

// Dates beyond the reach of the Python suite's reference calendar (years 1 to 9999), derived through the
// 400-year period of the Gregorian calendar (146,097 days).
TEST(TimeAxis, CalendarFieldsBeyondCommonYears) {
  struct Case {
    std::int64_t ts;
    CalendarFields f;
  };
  const Case cases[] = {
      {kMax, {292'277'026'596, 12, 4, 15, 30}},
      {kMin, {-292'277'022'657, 1, 27, 8, 29}},
      {-62'135'596'800, {1, 1, 1, 0, 0}},
      {-62'135'596'801, {0, 12, 31, 23, 59}},
      {-62'167'219'200, {0, 1, 1, 0, 0}},
      {-62'167'219'201, {-1, 12, 31, 23, 59}},
      {-62'162'121'600, {0, 2, 29, 0, 0}},  // year 0 is a leap year
      {253'402'300'800, {10'000, 1, 1, 0, 0}},
      {-1, {1969, 12, 31, 23, 59}},
  };
  for (const Case& c : cases) EXPECT_EQ(calendar_fields(c.ts), c.f) << c.ts;
  // One period later every field but the year repeats.
  for (const std::int64_t ts : {std::int64_t{0}, -62'162'121'600, std::int64_t{951'782'400}}) {
    CalendarFields shifted = calendar_fields(ts + 146'097 * kDay);
    shifted.year -= 400;
    EXPECT_EQ(shifted, calendar_fields(ts)) << ts;
  }
}

TEST(TimeAxis, WeightOfTheLargestChangedUnit) {
  struct Case {
    std::int64_t ts, prev;
    int weight;
  };
  const Case cases[] = {
      {k2020, k2020 - 1, 70},                     // 2019-12-31 23:59:59 to 2020
      {k2020 + 31 * kDay, k2020 + 30 * kDay, 60},  // 31 Jan to 1 Feb
      {k2020 + 60 * kDay, k2020 + 59 * kDay, 60},  // 29 Feb to 1 Mar of a leap year
      {k2020 + 1 * kDay, k2020, 40},               // Wednesday to Thursday: weeks start on 1970-01-01's weekday
      {k2020 + 7 * kDay, k2020 + 2 * kDay, 50},    // Friday to the Wednesday after: one week, Thursday to Wednesday
      {k2020 + 8 * kDay, k2020 + 7 * kDay, 40},
      {k2020 + 5 * 3600, k2020 + 3 * 3600, 35},
      {k2020 + 3600, k2020, 30},
      {1800, 0, 20},
      {300, 0, 15},
      {60, 0, 10},
      {59, 0, 0},
      {-60, 0, 70},  // 1969
      {-3 * kDay + 60, -3 * kDay, 10},
      {-3600, -3601, 30},  // floor division: 22:59:59 to 23:00 on 1969-12-31
      {kMax, kMin, 70},
      {kMin + 1, kMin, 0},
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
      {k2020 + 59 * kDay, 60, "Feb"},
      {k2020 + 59 * kDay, 50, "29 Feb"},
      {k2020 + 365 * kDay, 40, "31 Dec"},
      {9 * 3600 + 5 * 60 + 59, 30, "09:05"},
      {kDay - 1, 10, "23:59"},
      {-60, 10, "23:59"},
      {-3700, 35, "22:58"},
      {-1, 60, "Dec"},
      {-62'167'219'201, 70, "-1"},
      {-62'167'219'200, 70, "0"},
      {kMin, 70, "-292277022657"},
      {kMin, 50, "27 Jan"},
      {kMin, 0, "08:29"},
      {kMax, 70, "292277026596"},
      {kMax, 20, "15:30"},
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

// Each label with the x it was drawn at, as "text@x".
std::vector<std::string> labels_of(std::string_view body) {
  std::vector<std::string> out = texts_of(body);
  std::size_t k = 0;
  for (const std::string& l : lines_of(body)) {
    if (l.starts_with("<text")) out[k++] += "@" + l.substr(9, l.find('"', 9) - 9);
  }
  return out;
}

TEST(TimeAxis, DrawsTheFrameTicksAndLabels) {
  std::vector<std::int64_t> ts;
  for (int i = 0; i < 10; ++i) ts.push_back(k2020 - 2 * kDay + i * kDay);
  render::SvgBackend svg(270, 130, 1);
  render_time_axis(svg, {"#101010", "bad", ""}, 200, 100, 20, ts.size(), [&](std::size_t i) { return ts[i]; });
  const auto lines = lines_of(svg.body());
  ASSERT_EQ(lines.size(), 2u + 3);
  EXPECT_EQ(lines[0], R"(<path d="M0.00 100.00h270.00v30.00h-270.00Z" fill="#101010" stroke="none"/>)");
  // The border, then the ticks at the bars; the first label, 24 px wide by its estimate, moves in to 2 px
  // from the left edge while its tick stays.
  EXPECT_EQ(lines[1], R"(<path d="M0.00 100.00H200.00M10.00 100.00V104.00M70.00 100.00V104.00M130.00 100.00V104.00" )"
                      R"(stroke="#2a2e39" stroke-width="1.00" fill="none"/>)");
  EXPECT_EQ(lines[2],
            R"(<text x="14.00" y="106.00" fill="#b4b4b4" font-family="sans-serif" font-size="10.0" )"
            R"(text-anchor="middle" dominant-baseline="hanging">2019</text>)");
}

// Unix time of a civil date and time (UTC), from 1970 on.
std::int64_t utc(std::int64_t year, int month, int day, int hour = 0, int minute = 0) {
  const std::int64_t y = month <= 2 ? year - 1 : year;  // years from 1 March, so that the leap day comes last
  const std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t days = y * 365 + y / 4 - y / 100 + y / 400 + doy - 719'468;
  return days * kDay + hour * 3600 + minute * 60;
}

std::vector<std::int64_t> weekdays(std::int64_t first, std::size_t count) {
  std::vector<std::int64_t> out;
  for (std::int64_t t = first; out.size() < count; t += kDay) {
    if ((t / kDay + 3) % 7 < 5) out.push_back(t);  // 1970-01-01 was a Thursday
  }
  return out;
}

// Labels are taken by rank (years, months, days and weeks, then ever smaller units), each at least 60 px
// from those taken before it, and each names its own bar's boundary.
TEST(TimeAxis, LabelsByRankSixtyPixelsApart) {
  struct Case {
    const char* what;
    std::vector<std::int64_t> ts;
    double spacing, plot_width;
    std::vector<std::string> labels;
  };
  std::vector<std::int64_t> years, minutes, days;
  for (int y = 2018; y <= 2021; ++y) years.push_back(utc(y, 1, 1));
  for (int m = 0; m < 120; ++m) minutes.push_back(utc(2019, 5, 13, 14, 30) + 60 * m);
  for (int d = 0; d < 6; ++d) days.push_back(utc(2019, 5, 13) + d * kDay);
  const Case cases[] = {
      // Weekdays from Mon 16 Sep 2019: bar 0 lies left of the axis, so 2019 is not named; October wins
      // over the week that starts on Thu 26 Sep, 45 px before it.
      {"month", weekdays(utc(2019, 9, 16), 20), 15, 300,
       {"17 Sep@22.50", "23 Sep@82.50", "Oct@172.50", "7 Oct@232.50"}},
      {"years 60 px apart", years, 60, 400, {"2018@30.00", "2019@90.00", "2020@150.00", "2021@210.00"}},
      {"years 59 px apart", years, 59, 400, {"2018@29.50", "2020@147.50"}},
      // 14:30 lies left of the axis; hours, then half and quarter hours, then what still fits.
      {"minutes", minutes, 5, 600,
       {"14:35@27.50", "14:47@87.50", "15:00@152.50", "15:15@227.50", "15:30@302.50", "15:45@377.50",
        "16:00@452.50", "16:15@527.50"}},
      {"bar 0 at 10 px", days, 20, 200, {"2019@14.00", "16 May@70.00"}},
      // From 14:38, 14:40 is the first bar at 10 px; "14:40" (30 px) would start at -5 px, so it is written
      // from 2 px on.
      {"minutes from 14:38", std::vector<std::int64_t>(minutes.begin() + 8, minutes.end()), 4, 200,
       {"14:40@17.00", "15:00@90.00", "15:15@150.00"}},
      {"bar 0 left of 10 px", days, 19.9, 200, {"14 May@29.85", "18 May@109.45"}},
  };
  for (const Case& c : cases) {
    render::SvgBackend svg(c.plot_width + 70, 130, 1);
    render_time_axis(svg, {"", "", ""}, c.plot_width, 100, c.spacing, c.ts.size(), [&](std::size_t i) { return c.ts[i]; });
    EXPECT_EQ(labels_of(svg.body()), c.labels) << c.what;
  }
}

// A label comes no closer than 2 px to either edge of the plot; one that fits keeps its bar's x.
TEST(TimeAxis, LabelsKeepTwoPixelsFromThePlotEdges) {
  struct Case {
    double x, text_width, plot_width, want;
  };
  const Case cases[] = {
      {10, 30, 200, 17},    // "14:40" at the first labelled bar
      {17, 30, 200, 17},    // exactly 2 px from the left edge already
      {100, 30, 200, 100},  // clear of both edges
      {183, 30, 200, 183},  // exactly 2 px from the right edge already
      {190, 36, 200, 180},  // "14 Sep" near the right edge
      {50, 300, 200, 152},  // wider than the plot: the left margin wins
  };
  for (const Case& c : cases) EXPECT_EQ(time_label_x(c.x, c.text_width, c.plot_width), c.want) << c.x;
}

// The stretch search takes exactly the labels of the plain rule: by rank, then index, each at least 60 px
// from every label taken before it, and, with widths, at least half the sum of both widths + 8 px.
TEST(TimeAxis, PickedLabelsFollowThePlainRule) {
  struct Widths final : TimeLabelWidths {
    std::vector<double> of;
    std::size_t first = 0;
    double operator()(std::size_t bar) override { return of[bar - first]; }
  };
  std::mt19937_64 rng(11);
  for (int round = 0; round < 600; ++round) {
    const std::size_t n = 1 + rng() % 400, first = rng() % 50;
    const double spacing = std::uniform_real_distribution<double>(0.05, 90.0)(rng);
    std::vector<std::uint8_t> ranks(n);
    for (auto& r : ranks) r = rng() % 3 == 0 ? kNoTimeRank : static_cast<std::uint8_t>(rng() % kTimeRanks);
    const bool measured = round % 2 == 1;
    Widths widths;
    widths.first = first;
    for (std::size_t k = 0; k < n; ++k) widths.of.push_back(std::uniform_real_distribution<double>(0, 260)(rng));
    const auto gap = [&](std::size_t i, std::size_t t) {
      return measured ? std::max(60.0, (widths.of[i - first] + widths.of[t - first]) / 2 + 8) : 60.0;
    };
    std::vector<std::size_t> plain;
    for (std::uint8_t rank = 0; rank < kTimeRanks; ++rank) {
      for (std::size_t k = 0; k < n; ++k) {
        if (ranks[k] != rank) continue;
        const double x = bar_x(first + k, spacing);
        if (std::all_of(plain.begin(), plain.end(),
                        [&](std::size_t t) { return std::fabs(x - bar_x(t, spacing)) >= gap(first + k, t); })) {
          plain.push_back(first + k);
        }
      }
    }
    std::sort(plain.begin(), plain.end());
    EXPECT_EQ(pick_time_labels(ranks, first, spacing, measured ? &widths : nullptr), plain) << round;
  }
}

TEST(TimeAxis, NoSpacingReadsNoTimestamps) {
  for (const double spacing : {0.0, -1.0, kNaN}) {
    render::SvgBackend svg(170, 130, 1);
    std::size_t calls = 0;
    render_time_axis(svg, {"", "", ""}, 100, 100, spacing, std::numeric_limits<std::size_t>::max(), [&](std::size_t) {
      ++calls;
      return std::int64_t{0};
    });
    EXPECT_EQ(calls, 0u);
    EXPECT_EQ(lines_of(svg.body()).size(), 2u);
  }
}

}  // namespace
}  // namespace qc::coords
