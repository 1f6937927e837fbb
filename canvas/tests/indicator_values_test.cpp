// The hand-written computed methods (sma, ema, rsi, macd, bollinger, volume, overlay): worked examples, the
// NaN rule, the sums taken afresh, guards, and agreement with plain textbook references on random walks.
#include "api/indicator_builders.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace qc;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

model::BarColumns bars_with_closes(const std::vector<double>& closes) {
  model::BarColumns bars;
  bars.resize(closes.size());
  bars.close() = closes;
  return bars;
}

// Each method's value lines over bars with these closes, in vector order.
using Lines = std::vector<std::vector<double>>;

Lines lines_of(const std::optional<model::Indicator>& ind) {
  Lines out;
  if (ind) {
    for (const model::IndicatorVector& v : ind->vectors) out.emplace_back(v.values.begin(), v.values.end());
  }
  return out;
}
std::vector<double> sma(const std::vector<double>& c, std::uint64_t p) {
  return lines_of(api::sma_indicator(bars_with_closes(c), p, "c")).at(0);
}
std::vector<double> ema(const std::vector<double>& c, std::uint64_t p) {
  return lines_of(api::ema_indicator(bars_with_closes(c), p, "c")).at(0);
}
std::vector<double> rsi(const std::vector<double>& c, std::uint64_t p) {
  return lines_of(api::rsi_indicator(bars_with_closes(c), p)).at(0);
}
Lines bands(const std::vector<double>& c, std::uint64_t p, double m) {
  return lines_of(api::bollinger_indicator(bars_with_closes(c), p, m));
}
Lines macd(const std::vector<double>& c, std::uint64_t fast, std::uint64_t slow, std::uint64_t signal) {
  return lines_of(api::macd_indicator(bars_with_closes(c), fast, slow, signal));
}

std::vector<double> iota_closes(std::size_t n) {
  std::vector<double> closes(n);
  for (std::size_t i = 0; i < n; ++i) closes[i] = static_cast<double>(i + 1);
  return closes;
}

// Equal element by element, NaN matching NaN, exactly.
void expect_series(std::span<const double> actual, const std::vector<double>& expected, const char* what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    if (std::isnan(expected[i])) {
      EXPECT_TRUE(std::isnan(actual[i])) << what << " at " << i << ": " << actual[i];
    } else {
      EXPECT_EQ(actual[i], expected[i]) << what << " at " << i;
    }
  }
}

std::size_t first_value(const std::vector<double>& v) {
  std::size_t i = 0;
  while (i < v.size() && std::isnan(v[i])) ++i;
  return i;
}

void expect_close(const std::vector<double>& actual, const std::vector<double>& expected, double tolerance,
                  const std::string& what) {
  ASSERT_EQ(actual.size(), expected.size()) << what;
  EXPECT_EQ(first_value(actual), first_value(expected)) << what;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    ASSERT_EQ(std::isnan(actual[i]), std::isnan(expected[i])) << what << " at " << i;
    if (!std::isnan(expected[i])) {
      EXPECT_NEAR(actual[i], expected[i], tolerance) << what << " at " << i;
    }
  }
}

TEST(IndicatorValues, WorkedExamplesOnOneToFive) {
  const std::vector<double> c = iota_closes(5);
  expect_series(sma(c, 3), {kNaN, kNaN, 2, 3, 4}, "sma");
  expect_series(ema(c, 3), {kNaN, kNaN, 2, 3, 4}, "ema");  // seed 2, k = 0.5
  const Lines bb = bands(c, 3, 2.0);
  expect_series(bb[0], {kNaN, kNaN, 2, 3, 4}, "middle");
  const double sd = std::sqrt(2.0 / 3.0);
  expect_close(bb[1], {kNaN, kNaN, 2 + sd * 2, 3 + sd * 2, 4 + sd * 2}, 1e-14, "upper");
  expect_close(bb[2], {kNaN, kNaN, 2 - sd * 2, 3 - sd * 2, 4 - sd * 2}, 1e-14, "lower");
  expect_series(rsi(c, 3), {kNaN, kNaN, kNaN, 100, 100}, "rsi rising");
  expect_series(sma(c, 10), std::vector<double>(5, kNaN), "sma longer than the bars");
  expect_series(sma(c, 5), {kNaN, kNaN, kNaN, kNaN, 3}, "sma over all bars");
}

TEST(IndicatorValues, RsiWorkedByHand) {
  // Changes +2, -1, +2, -1; period 2 seeds with gain 1 and loss 0.5, then smooths by halves.
  expect_close(rsi({44, 46, 45, 47, 46}, 2), {kNaN, kNaN, 100 - 100 / 3.0, 100 - 100 / 7.0, 100 - 100 / 2.2}, 1e-12,
               "rsi");
  expect_series(rsi(std::vector<double>(6, 50.0), 3), {kNaN, kNaN, kNaN, 100, 100, 100}, "flat");
  expect_series(rsi({5, 4, 3, 2}, 2), {kNaN, kNaN, 0, 0}, "falling");
  expect_series(rsi(iota_closes(3), 3), std::vector<double>(3, kNaN), "needs period + 1 bars");
}

// The window sums slide, and are taken afresh every p slides: a rounding lost to a huge close stays in
// the running sum only until then.
TEST(IndicatorValues, WindowSumsAreTakenAfreshEveryPeriod) {
  // 1e17 + 1 rounds to 1e17, so the slide that drops 1e17 leaves 0 for the window {1, 1}; the next is
  // summed afresh.
  const std::vector<double> c = {1e17, 1, 1, 1, 1, 1};
  const std::vector<double> sma2 = sma(c, 2), middle = bands(c, 2, 1.0)[0];
  for (std::size_t t = 3; t < c.size(); ++t) {
    EXPECT_EQ(sma2[t], 1.0) << t;
    EXPECT_EQ(middle[t], 1.0) << t;
  }
  // A window of equal closes has no deviation, exactly, after moving prices too.
  const Lines bb = bands({3, 9, 4, 4, 4, 4}, 3, 2.0);
  EXPECT_GT(bb[1][3], bb[0][3]);
  for (std::size_t t : {4, 5}) {
    EXPECT_EQ(bb[1][t], 4.0) << t;
    EXPECT_EQ(bb[2][t], 4.0) << t;
  }
}

// A window holding a non-finite close has no value and fills again after it; each recursion starts
// again after one as at bar 0.
TEST(IndicatorValues, NonFiniteClosesRestartWindowsAndRecursions) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* what;
    std::vector<double> got;
    std::vector<double> want;
  };
  const std::vector<double> c = {1, 2, kNaN, 4, 5, 6, 7};
  const Lines bb = bands(c, 2, 1.0);
  const Lines m = macd({1, 2, 4, 8, 8, inf, 9, 10, 12, 11}, 1, 2, 2);
  const Case cases[] = {
      {"sma", sma(c, 2), {kNaN, 1.5, kNaN, kNaN, 4.5, 5.5, 6.5}},
      // k = 2/3: 4.5 / 3 + 6 · 2/3, then 5.5 / 3 + 7 · 2/3.
      {"ema", ema(c, 2), {kNaN, 1.5, kNaN, kNaN, 4.5, 5.5, 6.5}},
      // Changes +1 | +1, +2 (seed: gain 1.5, loss 0), -1 (gain 0.75, loss 0.5).
      {"rsi", rsi({1, 2, kNaN, 4, 5, 7, 6}, 2), {kNaN, kNaN, kNaN, kNaN, kNaN, 100, 60}},
      {"bollinger middle", bb[0], {kNaN, 1.5, kNaN, kNaN, 4.5, 5.5, 6.5}},
      {"bollinger upper", bb[1], {kNaN, 2, kNaN, kNaN, 5, 6, 7}},
      {"sma of one", sma({inf, 1, 2}, 1), {kNaN, 1, 2}},
      // Fast period 1 follows the closes, slow period 2 trails them; the signal (period 2) seeds at the
      // line's second value; after the infinite close all three start again.
      {"macd line", m[0], {kNaN, 0.5, 5.0 / 6, 29.0 / 18, 29.0 / 54, kNaN, kNaN, 0.5, 1.0 / 6 + 2.0 / 3, -1.0 / 6 + 1.0 / 9}},
      {"macd signal", m[1], {kNaN, kNaN, 2.0 / 3, 35.0 / 27, 64.0 / 81, kNaN, kNaN, kNaN, 2.0 / 3, 5.0 / 27}},
  };
  for (const Case& k : cases) expect_close(k.got, k.want, 1e-12, k.what);
}

TEST(IndicatorValues, NegativeMultiplierSwapsTheBands) {
  const Lines bb = bands({1, 3}, 2, -1.0);
  expect_series(bb[1], {kNaN, 1}, "upper");
  expect_series(bb[2], {kNaN, 3}, "lower");
}

TEST(IndicatorValues, MacdWarmUpAndSignal) {
  Lines m = macd(iota_closes(40), 12, 26, 9);
  EXPECT_EQ(first_value(m[0]), 25u);
  EXPECT_EQ(first_value(m[1]), 33u);
  EXPECT_EQ(first_value(m[2]), 33u);
  // On a straight line every EMA trails the closes by (p - 1) / 2, so the MACD line is constant 7.
  for (std::size_t i = 25; i < 40; ++i) EXPECT_NEAR(m[0][i], 7.0, 1e-12) << i;
  EXPECT_NEAR(m[1][33], 7.0, 1e-12);
  EXPECT_NEAR(m[2][39], 0.0, 1e-12);

  m = macd(iota_closes(30), 12, 26, 9);
  EXPECT_EQ(first_value(m[0]), 25u);
  EXPECT_EQ(first_value(m[1]), 30u);
  EXPECT_EQ(first_value(m[2]), 30u);

  m = macd(iota_closes(4), 1, 1, 0);
  expect_series(m[0], {0, 0, 0, 0}, "line of equal averages");
  expect_series(m[1], std::vector<double>(4, kNaN), "no signal period");
  expect_series(m[2], std::vector<double>(4, kNaN), "no histogram");
}

// The one pass gives the composition of the separate averages: the line is EMA_fast − EMA_slow, the signal
// the EMA of the line (seeded from its first values after each gap), the histogram their difference.
TEST(IndicatorValues, MacdIsTheCompositionOfItsAverages) {
  std::mt19937_64 rng(11);
  std::normal_distribution<double> step(0.0, 1.0);
  std::vector<double> x(400);
  double price = 100;
  for (double& v : x) v = price += step(rng);
  x[150] = kNaN;
  x[290] = -std::numeric_limits<double>::infinity();
  for (const auto& [f, s, q] : {std::array<std::uint64_t, 3>{12, 26, 9}, {26, 12, 9}, {5, 35, 5}}) {
    const std::string what = std::to_string(f) + "/" + std::to_string(s) + "/" + std::to_string(q);
    const Lines m = macd(x, f, s, q);
    const std::vector<double> fast = ema(x, f), slow = ema(x, s);
    std::vector<double> line(x.size()), hist(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) line[i] = fast[i] - slow[i];
    const std::vector<double> signal = ema(line, q);
    for (std::size_t i = 0; i < x.size(); ++i) hist[i] = line[i] - signal[i];
    expect_series(m[0], line, ("line " + what).c_str());
    expect_series(m[1], signal, ("signal " + what).c_str());
    expect_series(m[2], hist, ("histogram " + what).c_str());
  }
  const model::BarColumns bars = bars_with_closes(x);
  const Lines fixed = lines_of(api::macd_default_indicator(bars));
  const Lines called = lines_of(api::macd_indicator(bars, 12, 26, 9));
  for (std::size_t v = 0; v < 3; ++v) expect_series(fixed.at(v), called.at(v), "macd_default");
}

// Periods at the top of the unsigned range must neither wrap (period + 1, i - period + 1) nor read
// outside the closes; they give a full list of NaN.
TEST(IndicatorValues, HugePeriodsGiveNaNWithoutWrapping) {
  const std::vector<double> c = iota_closes(3);
  const std::vector<double> none(3, kNaN);
  for (std::uint64_t p : {kMax, kMax - 1, std::uint64_t{1} << 63, std::uint64_t{3}}) {
    const std::string what = "period " + std::to_string(p);
    expect_series(rsi(c, p), none, what.c_str());
    if (p == 3) continue;
    expect_series(sma(c, p), none, what.c_str());
    expect_series(ema(c, p), none, what.c_str());
    expect_series(bands(c, p, 2)[1], none, what.c_str());
    const Lines m = macd(c, p, p, p);
    expect_series(m[0], none, what.c_str());
    expect_series(m[1], none, what.c_str());
  }
  expect_series(macd(c, 1, 1, kMax)[1], none, "huge signal period");
}

TEST(IndicatorBuilders, GuardsAddNothing) {
  const model::BarColumns none;
  const model::BarColumns five = bars_with_closes(iota_closes(5));
  EXPECT_FALSE(api::sma_indicator(five, 0, "c"));
  EXPECT_FALSE(api::sma_indicator(none, 3, "c"));
  EXPECT_FALSE(api::ema_indicator(five, 0, "c"));
  EXPECT_FALSE(api::ema_indicator(none, 3, "c"));
  EXPECT_FALSE(api::rsi_indicator(five, 0));
  EXPECT_FALSE(api::rsi_indicator(none, 14));
  EXPECT_FALSE(api::bollinger_indicator(five, 0, 2));
  EXPECT_FALSE(api::bollinger_indicator(none, 20, 2));
  EXPECT_FALSE(api::macd_indicator(none, 12, 26, 9));
  EXPECT_FALSE(api::macd_indicator(five, 0, 26, 9));
  EXPECT_FALSE(api::macd_indicator(five, 12, 0, 9));
  EXPECT_FALSE(api::volume_indicator(none));

  // A guard that passes with too few bars still adds one NaN per bar.
  const auto sma10 = api::sma_indicator(five, 10, "c");
  ASSERT_TRUE(sma10);
  expect_series(sma10->vectors[0].values, std::vector<double>(5, kNaN), "sma 10 on five bars");
  const auto rsi_max = api::rsi_indicator(five, kMax);
  ASSERT_TRUE(rsi_max);
  expect_series(rsi_max->vectors[0].values, std::vector<double>(5, kNaN), "rsi with the largest period");
  const auto macd11 = api::macd_indicator(five, 1, 1, 0);
  ASSERT_TRUE(macd11);
  expect_series(macd11->vectors[0].values, {0, 0, 0, 0, 0}, "macd line");
  expect_series(macd11->vectors[2].values, std::vector<double>(5, kNaN), "macd histogram");

  // No guard: added without bars, values as the caller gave them.
  EXPECT_TRUE(api::macd_default_indicator(none).vectors[0].values.empty());
  const double inf = std::numeric_limits<double>::infinity();
  const auto overlay = api::overlay_indicator("x", {1, kNaN, -inf}, "c");
  expect_series(overlay.vectors[0].values, {1, kNaN, -inf}, "overlay");
}

TEST(IndicatorBuilders, VolumeCopiesVolumesAndFlagsUpBars) {
  model::BarColumns bars;
  bars.resize(3);
  bars.open() = {5, 5, 5};
  bars.close() = {4, 5, 6};
  bars.volume() = {10, 20, 30};
  const auto vol = api::volume_indicator(bars);
  ASSERT_TRUE(vol);
  expect_series(vol->vectors[0].values, {10, 20, 30}, "volumes");
  EXPECT_EQ(vol->vectors[0].up_flags, (std::vector<std::uint8_t>{0, 1, 1}));
}

// Textbook definitions written independently of the published step order; agreement within rounding.
std::vector<double> reference_ema(const std::vector<double>& x, std::size_t p) {
  std::vector<double> out(x.size(), kNaN);
  if (p == 0 || x.size() < p) return out;
  long double seed = 0;
  for (std::size_t i = 0; i < p; ++i) seed += x[i];
  long double e = seed / p;
  out[p - 1] = static_cast<double>(e);
  const long double alpha = 2.0L / (p + 1);
  for (std::size_t i = p; i < x.size(); ++i) {
    e = alpha * x[i] + (1 - alpha) * e;
    out[i] = static_cast<double>(e);
  }
  return out;
}

std::vector<double> reference_rsi(const std::vector<double>& x, std::size_t p) {
  std::vector<double> out(x.size(), kNaN);
  if (x.size() <= p) return out;
  long double up = 0, down = 0;
  for (std::size_t i = 1; i <= p; ++i) {
    const long double d = static_cast<long double>(x[i]) - x[i - 1];
    (d > 0 ? up : down) += std::fabs(d);
  }
  up /= p;
  down /= p;
  const auto value = [](long double u, long double d) {
    return d == 0 ? 100.0 : static_cast<double>(100 * u / (u + d));
  };
  out[p] = value(up, down);
  for (std::size_t i = p + 1; i < x.size(); ++i) {
    const long double d = static_cast<long double>(x[i]) - x[i - 1];
    up += ((d > 0 ? d : 0) - up) / p;
    down += ((d < 0 ? -d : 0) - down) / p;
    out[i] = value(up, down);
  }
  return out;
}

// Each window's mean, oldest first, and its population deviation by two passes, in long double.
Lines reference_bands(const std::vector<double>& x, std::size_t p, double m) {
  Lines out(3, std::vector<double>(x.size(), kNaN));
  for (std::size_t i = p - 1; i < x.size(); ++i) {
    long double sum = 0, squares = 0;
    for (std::size_t j = i + 1 - p; j <= i; ++j) sum += x[j];
    const long double mean = sum / p;
    for (std::size_t j = i + 1 - p; j <= i; ++j) squares += (x[j] - mean) * (x[j] - mean);
    const long double sd = std::sqrt(squares / p);
    out[0][i] = static_cast<double>(mean);
    out[1][i] = static_cast<double>(mean + m * sd);
    out[2][i] = static_cast<double>(mean - m * sd);
  }
  return out;
}

double largest_magnitude(const std::vector<double>& v) {
  double m = 0.0;
  for (double x : v) m = std::isnan(x) ? m : std::max(m, std::fabs(x));
  return m;
}

// SMA and the bands within 1e-12 of their largest value from the windows summed directly: on short walks
// around 100 and on a long one around 10,000, whose windows slide thousands of times between fresh sums.
TEST(IndicatorValues, AgreeWithTextbookReferencesOnRandomWalks) {
  std::mt19937_64 rng(2024);
  std::normal_distribution<double> step(0.0, 1.0);
  const auto walk = [&](std::size_t n, double price) {
    std::vector<double> x(n);
    for (double& v : x) v = price += step(rng);
    return x;
  };
  std::vector<std::pair<std::vector<double>, std::vector<std::size_t>>> walks;
  for (int k = 0; k < 4; ++k) walks.push_back({walk(600, 100), {1, 2, 5, 14, 20, 50}});
  walks.push_back({walk(6000, 1e4), {999, 1500}});
  for (const auto& [x, periods] : walks) {
    for (std::size_t p : periods) {
      const std::string what = std::to_string(x.size()) + " bars, period " + std::to_string(p);
      if (p < 100) {
        expect_close(ema(x, p), reference_ema(x, p), 1e-9, "ema " + what);
        expect_close(rsi(x, p), reference_rsi(x, p), 1e-8, "rsi " + what);
      }
      const Lines got = bands(x, p, 2.0);
      const Lines ref = reference_bands(x, p, 2.0);
      const char* names[] = {"middle ", "upper ", "lower "};
      for (std::size_t v = 0; v < 3; ++v) {
        expect_close(got[v], ref[v], 1e-12 * largest_magnitude(ref[v]), names[v] + what);
      }
      expect_close(sma(x, p), ref[0], 1e-12 * largest_magnitude(ref[0]), "sma " + what);
    }
  }
}

}  // namespace
