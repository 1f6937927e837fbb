// Computed indicator values: worked examples, exact bits where the order of operations decides them,
// guards, and agreement with plain textbook references on random walks.
#include "api/indicator_builders.hpp"
#include "api/indicator_values.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace qc;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

std::vector<model::Bar> bars_with_closes(const std::vector<double>& closes) {
  std::vector<model::Bar> bars(closes.size());
  for (std::size_t i = 0; i < closes.size(); ++i) bars[i].close = closes[i];
  return bars;
}

std::vector<double> iota_closes(std::size_t n) {
  std::vector<double> closes(n);
  for (std::size_t i = 0; i < n; ++i) closes[i] = static_cast<double>(i + 1);
  return closes;
}

// Equal element by element, NaN matching NaN, exactly.
void expect_series(const std::vector<double>& actual, const std::vector<double>& expected, const char* what) {
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
  expect_series(api::sma_values(c, 3), {kNaN, kNaN, 2, 3, 4}, "sma");
  expect_series(api::ema_values(c, 3), {kNaN, kNaN, 2, 3, 4}, "ema");  // seed 2, k = 0.5
  const api::BandValues bb = api::bollinger_values(c, 3, 2.0);
  expect_series(bb.middle, {kNaN, kNaN, 2, 3, 4}, "middle");
  const double sd = std::sqrt(2.0 / 3.0);
  expect_series(bb.upper, {kNaN, kNaN, 2 + sd * 2, 3 + sd * 2, 4 + sd * 2}, "upper");
  expect_series(bb.lower, {kNaN, kNaN, 2 - sd * 2, 3 - sd * 2, 4 - sd * 2}, "lower");
  expect_series(api::rsi_values(c, 3), {kNaN, kNaN, kNaN, 100, 100}, "rsi rising");
  expect_series(api::sma_values(c, 10), std::vector<double>(5, kNaN), "sma longer than the bars");
  expect_series(api::sma_values(c, 5), {kNaN, kNaN, kNaN, kNaN, 3}, "sma over all bars");
}

TEST(IndicatorValues, RsiWorkedByHand) {
  // Changes +2, -1, +2, -1; period 2 seeds with gain 1 and loss 0.5, then smooths by halves.
  expect_series(api::rsi_values(std::vector<double>{44, 46, 45, 47, 46}, 2),
                {kNaN, kNaN, 100 - 100 / 3.0, 100 - 100 / 7.0, 100 - 100 / 2.2}, "rsi");
  expect_series(api::rsi_values(std::vector<double>(6, 50.0), 3), {kNaN, kNaN, kNaN, 100, 100, 100}, "flat");
  expect_series(api::rsi_values(std::vector<double>{5, 4, 3, 2}, 2), {kNaN, kNaN, 0, 0}, "falling");
  expect_series(api::rsi_values(iota_closes(3), 3), std::vector<double>(3, kNaN), "needs period + 1 bars");
}

// Sums run oldest first over each window anew, and each formula keeps its published order: these
// series are chosen so that another order or a running sum would change the result.
TEST(IndicatorValues, OrderOfOperationsDecidesTheLastBits) {
  // Oldest first, 1 + 1e16 rounds back to 1e16; a running sum would carry that loss into the next window.
  expect_series(api::sma_values(std::vector<double>{1, 1e16, -1e16, 1}, 3), {kNaN, kNaN, 0, 1.0 / 3.0}, "sma");

  // e + (close - e) * k; k * close + (1 - k) * e ends in ...168 in the last place, and a compensated
  // seed sum in ...333 in the first.
  expect_series(api::ema_values(std::vector<double>{106.75, 101.13, 102.85, 93.72, 109.85, 107.2}, 4),
                {kNaN, kNaN, kNaN, 0x1.9473333333334p+6, 0x1.a26e147ae147bp+6, 0x1.a693f7ced9169p+6}, "ema");

  // (avg * (p - 1) + change) / p and 100 - 100 / (gain / loss + 1); the smoothing written as
  // avg + (change - avg) / p with 100 * gain / (gain + loss) differs in every value.
  expect_series(api::rsi_values(std::vector<double>{100.77, 102.47, 102.25, 99.16, 90.56, 94.59}, 3),
                {kNaN, kNaN, kNaN, 0x1.0f750393ac334p+5, 0x1.2fbdad61e96b8p+3, 0x1.3f4d9977970c5p+5}, "rsi");
}

TEST(IndicatorValues, NonFiniteClosesFlowThroughTheirWindows) {
  const std::vector<double> c = {1, 2, kNaN, 4, 5, 6};
  expect_series(api::sma_values(c, 2), {kNaN, 1.5, kNaN, kNaN, 4.5, 5.5}, "sma recovers after the window");
  expect_series(api::ema_values(c, 2), {kNaN, 1.5, kNaN, kNaN, kNaN, kNaN}, "ema keeps the NaN");
  const api::BandValues bb = api::bollinger_values(c, 2, 1.0);
  expect_series(bb.middle, {kNaN, 1.5, kNaN, kNaN, 4.5, 5.5}, "middle");
  expect_series(bb.upper, {kNaN, 2, kNaN, kNaN, 5, 6}, "upper");
  const double inf = std::numeric_limits<double>::infinity();
  expect_series(api::sma_values(std::vector<double>{inf, 1, 2}, 1), {inf, 1, 2}, "sma of one");
  EXPECT_TRUE(std::isnan(api::bollinger_values(std::vector<double>{inf, 1}, 1, 2.0).upper[0]));
}

TEST(IndicatorValues, NegativeMultiplierSwapsTheBands) {
  const api::BandValues bb = api::bollinger_values(std::vector<double>{1, 3}, 2, -1.0);
  expect_series(bb.upper, {kNaN, 1}, "upper");
  expect_series(bb.lower, {kNaN, 3}, "lower");
}

TEST(IndicatorValues, MacdWarmUpAndSignal) {
  const std::vector<double> c40 = iota_closes(40);
  api::MacdValues m = api::macd_values(c40, 12, 26, 9);
  EXPECT_EQ(first_value(m.line), 25u);
  EXPECT_EQ(first_value(m.signal), 33u);
  EXPECT_EQ(first_value(m.histogram), 33u);
  for (std::size_t i = 25; i < 40; ++i) EXPECT_FALSE(std::isnan(m.line[i])) << i;
  // On a straight line every EMA trails the closes by (p - 1) / 2, so the MACD line is constant 7.
  for (std::size_t i = 25; i < 40; ++i) EXPECT_DOUBLE_EQ(m.line[i], 7.0) << i;
  EXPECT_DOUBLE_EQ(m.signal[33], 7.0);
  EXPECT_NEAR(m.histogram[39], 0.0, 1e-12);

  m = api::macd_values(iota_closes(30), 12, 26, 9);
  EXPECT_EQ(first_value(m.line), 25u);
  EXPECT_EQ(first_value(m.signal), 30u);
  EXPECT_EQ(first_value(m.histogram), 30u);

  m = api::macd_values(iota_closes(4), 1, 1, 0);
  expect_series(m.line, {0, 0, 0, 0}, "line of equal averages");
  expect_series(m.signal, std::vector<double>(4, kNaN), "no signal period");
  expect_series(m.histogram, std::vector<double>(4, kNaN), "no histogram");

  // Fast period 1 follows the closes, slow period 2 trails them; the signal (period 2) seeds at the
  // line's second value, and the NaN close ends line and signal for good.
  m = api::macd_values(std::vector<double>{1, 2, 4, 8, 8, kNaN, 9, 10}, 1, 2, 2);
  expect_close(m.line, {kNaN, 0.5, 5.0 / 6, 29.0 / 18, 29.0 / 54, kNaN, kNaN, kNaN}, 1e-12, "line");
  expect_close(m.signal, {kNaN, kNaN, 2.0 / 3, 35.0 / 27, 64.0 / 81, kNaN, kNaN, kNaN}, 1e-12, "signal");
  expect_close(m.histogram, {kNaN, kNaN, 5.0 / 6 - 2.0 / 3, 29.0 / 18 - 35.0 / 27, 29.0 / 54 - 64.0 / 81, kNaN,
                             kNaN, kNaN},
               1e-12, "histogram");
}

// Periods at the top of the unsigned range must neither wrap (period + 1, i - period + 1) nor read
// outside the closes; they give a full list of NaN.
TEST(IndicatorValues, HugePeriodsGiveNaNWithoutWrapping) {
  const std::vector<double> c = iota_closes(3);
  const std::vector<double> none(3, kNaN);
  for (std::uint64_t p : {kMax, kMax - 1, std::uint64_t{1} << 63, std::uint64_t{3}}) {
    const std::string what = "period " + std::to_string(p);
    expect_series(api::rsi_values(c, p), none, what.c_str());
    if (p == 3) continue;
    expect_series(api::sma_values(c, p), none, what.c_str());
    expect_series(api::ema_values(c, p), none, what.c_str());
    expect_series(api::bollinger_values(c, p, 2).upper, none, what.c_str());
    const api::MacdValues m = api::macd_values(c, p, p, p);
    expect_series(m.line, none, what.c_str());
    expect_series(m.signal, none, what.c_str());
  }
  expect_series(api::macd_values(c, 1, 1, kMax).signal, none, "huge signal period");
  expect_series(api::sma_values(c, 0), none, "period 0");
}

TEST(IndicatorBuilders, GuardsAddNothing) {
  const std::vector<model::Bar> none;
  const std::vector<model::Bar> five = bars_with_closes(iota_closes(5));
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
  const auto sma = api::sma_indicator(five, 10, "c");
  ASSERT_TRUE(sma);
  expect_series(sma->vectors[0].values, std::vector<double>(5, kNaN), "sma 10 on five bars");
  const auto rsi = api::rsi_indicator(five, kMax);
  ASSERT_TRUE(rsi);
  expect_series(rsi->vectors[0].values, std::vector<double>(5, kNaN), "rsi with the largest period");
  const auto macd = api::macd_indicator(five, 1, 1, 0);
  ASSERT_TRUE(macd);
  expect_series(macd->vectors[0].values, {0, 0, 0, 0, 0}, "macd line");
  expect_series(macd->vectors[2].values, std::vector<double>(5, kNaN), "macd histogram");

  // No guard: added without bars, values as the caller gave them.
  EXPECT_TRUE(api::macd_default_indicator().vectors[0].values.empty());
  const double inf = std::numeric_limits<double>::infinity();
  const auto overlay = api::overlay_indicator("x", {1, kNaN, -inf}, "c");
  expect_series(overlay.vectors[0].values, {1, kNaN, -inf}, "overlay");
}

TEST(IndicatorBuilders, ValuesGoToTheirVectorsByPosition) {
  const std::vector<model::Bar> bars = bars_with_closes(iota_closes(5));
  const auto bb = api::bollinger_indicator(bars, 3, 2.0);
  ASSERT_TRUE(bb);
  const api::BandValues expected = api::bollinger_values(iota_closes(5), 3, 2.0);
  expect_series(bb->vectors[0].values, expected.middle, "Middle");
  expect_series(bb->vectors[1].values, expected.upper, "Upper");
  expect_series(bb->vectors[2].values, expected.lower, "Lower");
  EXPECT_GT(bb->vectors[1].values[4], bb->vectors[2].values[4]);

  const std::vector<model::Bar> c40 = bars_with_closes(iota_closes(40));
  const auto macd = api::macd_indicator(c40, 12, 26, 9);
  ASSERT_TRUE(macd);
  const api::MacdValues m = api::macd_values(iota_closes(40), 12, 26, 9);
  expect_series(macd->vectors[0].values, m.line, "MACD");
  expect_series(macd->vectors[1].values, m.signal, "Signal");
  expect_series(macd->vectors[2].values, m.histogram, "Histogram");

  expect_series(api::sma_indicator(bars, 3, "c")->vectors[0].values, {kNaN, kNaN, 2, 3, 4}, "SMA");
  expect_series(api::ema_indicator(bars, 3, "c")->vectors[0].values, {kNaN, kNaN, 2, 3, 4}, "EMA");
  expect_series(api::rsi_indicator(bars, 3)->vectors[0].values, {kNaN, kNaN, kNaN, 100, 100}, "RSI");
}

TEST(IndicatorBuilders, VolumeCopiesVolumesAndFlagsUpBars) {
  std::vector<model::Bar> bars(3);
  const double opens[] = {5, 5, 5}, closes[] = {4, 5, 6}, volumes[] = {10, 20, 30};
  for (std::size_t i = 0; i < 3; ++i) {
    bars[i].open = opens[i];
    bars[i].close = closes[i];
    bars[i].volume = volumes[i];
  }
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

api::BandValues reference_bands(const std::vector<double>& x, std::size_t p, double m) {
  api::BandValues out{std::vector<double>(x.size(), kNaN), std::vector<double>(x.size(), kNaN),
                      std::vector<double>(x.size(), kNaN)};
  for (std::size_t i = p - 1; i < x.size(); ++i) {
    long double sum = 0, squares = 0;
    for (std::size_t j = i + 1 - p; j <= i; ++j) {
      sum += x[j];
      squares += static_cast<long double>(x[j]) * x[j];
    }
    const long double mean = sum / p;
    const long double sd = std::sqrt(std::max(0.0L, squares / p - mean * mean));
    out.middle[i] = static_cast<double>(mean);
    out.upper[i] = static_cast<double>(mean + m * sd);
    out.lower[i] = static_cast<double>(mean - m * sd);
  }
  return out;
}

TEST(IndicatorValues, AgreeWithTextbookReferencesOnRandomWalks) {
  std::mt19937_64 rng(2024);
  std::normal_distribution<double> step(0.0, 1.0);
  for (int walk = 0; walk < 4; ++walk) {
    std::vector<double> x(600);
    double price = 100;
    for (double& v : x) v = price += step(rng);
    for (std::size_t p : {1, 2, 5, 14, 20, 50}) {
      const std::string what = "walk " + std::to_string(walk) + " period " + std::to_string(p);
      expect_close(api::ema_values(x, p), reference_ema(x, p), 1e-9, "ema " + what);
      expect_close(api::rsi_values(x, p), reference_rsi(x, p), 1e-8, "rsi " + what);
      const api::BandValues bands = api::bollinger_values(x, p, 2.0);
      const api::BandValues ref = reference_bands(x, p, 2.0);
      expect_close(bands.middle, ref.middle, 1e-9, "middle " + what);
      expect_close(bands.upper, ref.upper, 1e-6, "upper " + what);
      expect_close(bands.lower, ref.lower, 1e-6, "lower " + what);
      std::vector<double> sma_ref(x.size(), kNaN);
      for (std::size_t i = p - 1; i < x.size(); ++i) sma_ref[i] = ref.middle[i];
      expect_close(api::sma_values(x, p), sma_ref, 1e-9, "sma " + what);
    }
    // MACD: difference of the two references, its signal the reference EMA of the line from its start.
    const api::MacdValues m = api::macd_values(x, 12, 26, 9);
    const std::vector<double> fast = reference_ema(x, 12), slow = reference_ema(x, 26);
    std::vector<double> line(x.size(), kNaN);
    for (std::size_t i = 25; i < x.size(); ++i) line[i] = fast[i] - slow[i];
    const std::vector<double> tail(line.begin() + 25, line.end());
    const std::vector<double> sig_tail = reference_ema(tail, 9);
    std::vector<double> sig(25, kNaN);
    sig.insert(sig.end(), sig_tail.begin(), sig_tail.end());
    expect_close(m.line, line, 1e-9, "macd line");
    expect_close(m.signal, sig, 1e-9, "macd signal");
  }
}

}  // namespace
