// Per cent and indexed price scales: the signed labels, the relative mapping, the bases the main series and
// compared lines are measured from, and the scale's range, ticks and last-price text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "api/compare.hpp"
#include "api/main_scale.hpp"
#include "coords/price_mapping.hpp"
#include "coords/price_scale.hpp"
#include "model/series/bar_columns.hpp"

using namespace qc;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(PercentLabels, SignedWithPerCentSign) {
  struct Case {
    double change;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {12.5, 1, "+12.5%"}, {0.0, 1, "0.0%"},   {-8.0, 1, "-8.0%"},  {4.2149, 2, "+4.21%"}, {-0.004, 2, "0.00%"},
      {0.004, 2, "0.00%"}, {-0.0, 0, "0%"},    {1e-15, 1, "0.0%"},  {250.0, 0, "+250%"},   {-100.0, 2, "-100.00%"},
  };
  for (const Case& c : cases) {
    std::string out = "x";  // written after what the text already holds
    coords::append_percent(out, c.change, c.decimals);
    EXPECT_EQ(out, std::string("x") + c.text) << c.change;
  }
}

TEST(PercentLabels, ScaleLabelsOfAPerCentScale) {
  const coords::PriceTicks ticks = coords::price_ticks(-16.5, 16.5, 330);
  const coords::ScaleLabels labels(ticks, coords::ScaleNumbers::percent);
  std::vector<std::string> texts;
  for (double t : ticks.ticks()) labels.append(texts.emplace_back(), t);
  EXPECT_EQ(texts, (std::vector<std::string>{"-15%", "-10%", "-5%", "0%", "+5%", "+10%", "+15%"}));
  // Half steps carry a decimal, as the plain labels of the same ticks do.
  const coords::PriceTicks halves = coords::price_ticks(-1.2, 1.2, 150);
  const coords::ScaleLabels plain(halves, coords::ScaleNumbers::full), percent(halves, coords::ScaleNumbers::percent);
  for (double t : halves.ticks()) {
    std::string a, b;
    plain.append(a, t);
    percent.append(b, t);
    EXPECT_EQ(b, (t > 0 ? "+" : "") + a + "%");
  }
}

TEST(RelativeMapping, NumbersOfTheScaleAndBack) {
  struct Case {
    double base, origin, value, number;
  };
  const Case cases[] = {
      {200, 0, 225, 12.5},  {200, 0, 184, -8},   {200, 0, 200, 0},   {200, 100, 225, 112.5},
      {200, 100, 0, 0},     {-10, 0, -5, 50},    {-10, 0, -15, -50},  // a rise stays a rise below zero
      {0.5, 100, 1.5, 300},
  };
  for (const Case& c : cases) {
    coords::PriceMapping pane{-50, 150, 0, 200};
    pane.relative = true;
    pane.base = c.base;
    pane.origin = c.origin;
    EXPECT_DOUBLE_EQ(pane.scaled(c.value), c.number) << c.base << " " << c.value;
    EXPECT_DOUBLE_EQ(pane.unscaled(c.number), c.value) << c.base << " " << c.value;
    // Linear over the numbers: a value lies where its number does on the scale.
    EXPECT_DOUBLE_EQ(pane.y(c.value), pane.scale_y(c.number));
    EXPECT_DOUBLE_EQ(pane.y(c.value), 200 - (c.number + 50));
  }
  // Held as the linear mapping holds; NaN stays NaN.
  coords::PriceMapping pane{-10, 10, 0, 100};
  pane.relative = true;
  pane.base = 1e-300;
  EXPECT_EQ(pane.y(1e300), 100 - 1e6 * 100);
  EXPECT_EQ(pane.y(-kInf), 100 + 1e6 * 100);
  EXPECT_TRUE(std::isnan(pane.y(kNaN)));
  // Without a relative scale numbers and values are one.
  const coords::PriceMapping plain{0, 22, 0, 110};
  EXPECT_EQ(plain.scaled(7.25), 7.25);
  EXPECT_EQ(plain.unscaled(7.25), 7.25);
  EXPECT_EQ(plain.y(11), plain.scale_y(11));
}

model::Bar bar(std::int64_t t, double close) { return {t, close, close + 5, close - 5, close, 0}; }

// Closes 100, 110, 90, 105 with lows and highs 5 below and above: prices 85 to 115.
model::BarColumns four_bars() { return {bar(0, 100), bar(1, 110), bar(2, 90), bar(3, 105)}; }

model::Indicator line_of(std::vector<double> values, bool own_base) {
  model::Indicator ind = own_base ? api::compare_indicator("B", {values.begin(), values.end()}, "#ff9800") : model::Indicator::make("o", "O");
  if (!own_base) {
    auto vec = model::IndicatorVector::make("o", model::VectorStyle::line("#fff", 1.0));
    vec.values.assign(values.begin(), values.end());
    ind = std::move(ind).add_vector(std::move(vec));
  }
  return ind;
}

std::vector<std::string> labels_of(const api::MainScale& scale, coords::ScaleNumbers numbers) {
  coords::PriceTicks ticks;
  for (double t : scale.ticks()) ticks.values[ticks.count++] = t;
  ticks.step = ticks.count > 1 ? ticks.values[1] - ticks.values[0] : 1.0;
  const coords::ScaleLabels labels(ticks, numbers);
  std::vector<std::string> texts;
  for (double t : scale.ticks()) labels.append(texts.emplace_back(), t);
  return texts;
}

TEST(MainScaleModes, PerCentAndIndexedFromTheFirstDrawnClose) {
  const model::BarColumns bars = four_bars();
  const std::vector<const model::Indicator*> none;
  struct Case {
    api::PriceScaleMode mode;
    api::ValueIndices at;
    double base, lo, hi;  // the numbers of the lowest low and highest high
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {api::PriceScaleMode::percent, {}, 100, -15, 15, {"-15%", "-10%", "-5%", "0%", "+5%", "+10%", "+15%"}},
      {api::PriceScaleMode::indexed, {}, 100, 85, 115, {"85", "90", "95", "100", "105", "110", "115"}},
      // A view of bars 1 to 3: measured from bar 1's close.
      {api::PriceScaleMode::percent, {1, 4}, 110, -25.0 / 1.1, 5.0 / 1.1,
       {"-20%", "-15%", "-10%", "-5%", "0%", "+5%"}},
  };
  for (const Case& c : cases) {
    const auto drawn = bars.view().subview(c.at.first, std::min(c.at.end, bars.size()) - c.at.first);
    const api::MainScale scale(drawn, drawn, none, 330, c.mode, c.at);
    const coords::PriceMapping& pane = scale.mapping();
    ASSERT_TRUE(pane.relative);
    EXPECT_EQ(pane.base, c.base);
    // The numbers' ends padded by 5 %, as the prices' are on a price scale.
    const double pad = 0.05 * (c.hi - c.lo);
    EXPECT_DOUBLE_EQ(pane.min, c.lo - pad);
    EXPECT_DOUBLE_EQ(pane.max, c.hi + pad);
    EXPECT_NEAR(pane.y(c.base), 330 - (pane.origin - pane.min) / (pane.max - pane.min) * 330, 1e-9);
    const auto numbers = c.mode == api::PriceScaleMode::percent ? coords::ScaleNumbers::percent : coords::ScaleNumbers::full;
    EXPECT_EQ(labels_of(scale, numbers), c.labels);
  }
}

TEST(MainScaleModes, FallsBackToPricesWithoutABase) {
  const std::vector<const model::Indicator*> none;
  struct Case {
    const char* name;
    model::BarColumns bars;
    api::ValueIndices at;
  };
  const Case cases[] = {
      {"no finite close", {bar(0, kNaN), {1, 1, 2, 0.5, kInf, 0}}, {}},
      {"a first close of zero", {bar(0, 0), bar(1, 10)}, {}},
      {"closes only outside the view", {bar(0, 10), bar(1, kNaN), bar(2, kNaN), bar(3, 12)}, {1, 3}},
  };
  for (const Case& c : cases) {
    const auto drawn = c.bars.view().subview(c.at.first, std::min(c.at.end, c.bars.size()) - c.at.first);
    for (const auto mode : {api::PriceScaleMode::percent, api::PriceScaleMode::indexed}) {
      const api::MainScale relative(drawn, drawn, none, 330, mode, c.at);
      const api::MainScale prices(drawn, drawn, none, 330, api::PriceScaleMode::price, c.at);
      EXPECT_FALSE(relative.mapping().relative) << c.name;
      EXPECT_EQ(relative.mapping().min, prices.mapping().min) << c.name;
      EXPECT_EQ(relative.mapping().max, prices.mapping().max) << c.name;
    }
  }
  // A NaN first close in view passes the base on to the next finite one.
  const model::BarColumns gap = {bar(0, 50), bar(1, kNaN), bar(2, 80), bar(3, 88)};
  const auto drawn = gap.view().subview(1, 3);
  const api::MainScale scale(drawn, drawn, none, 330, api::PriceScaleMode::percent, {1, 4});
  EXPECT_EQ(scale.mapping().base, 80);
  EXPECT_DOUBLE_EQ(scale.mapping().scaled(88), 10);
}

TEST(MainScaleModes, ComparedLinesFromTheirOwnBase) {
  const model::BarColumns bars = four_bars();
  // 50 to 60: its own first value 50, so 55 is +10 % as the main series' 110 is.
  const model::Indicator compared = line_of({kNaN, 50, 55, 60}, true);
  const model::Indicator overlay = line_of({100, 130, kNaN, kNaN}, false);
  const std::vector<const model::Indicator*> overlays{&compared, &overlay};
  const api::MainScale scale(bars, bars, overlays, 330, api::PriceScaleMode::percent);
  EXPECT_EQ(scale.own_base(compared), 50);
  const auto own = scale.mapping_of(compared);
  ASSERT_TRUE(own);
  EXPECT_DOUBLE_EQ(own->y(55), scale.mapping().y(110));
  EXPECT_DOUBLE_EQ(own->y(60), scale.mapping().scale_y(20));
  // The overlay is measured from the main base; both lines span the range: -15 % to +30 %, padded.
  EXPECT_DOUBLE_EQ(scale.mapping_of(overlay)->y(130), scale.mapping().scale_y(30));
  EXPECT_DOUBLE_EQ(scale.mapping().min, -15 - 2.25);
  EXPECT_DOUBLE_EQ(scale.mapping().max, 30 + 2.25);

  // A compared line with no base of its own in view is not drawn on a relative scale; on a price scale it is a
  // line of prices like any other.
  const struct {
    std::vector<double> values;
    api::ValueIndices at;
  } baseless[] = {{{kNaN, kNaN, kNaN, kNaN}, {}}, {{0, 5, 6, 7}, {}}, {{1, 2, kNaN, kNaN}, {2, 4}}};
  for (const auto& b : baseless) {
    const model::Indicator line = line_of(b.values, true);
    const std::vector<const model::Indicator*> one{&line};
    const auto drawn = bars.view().subview(b.at.first, std::min(b.at.end, bars.size()) - b.at.first);
    const api::MainScale relative(drawn, drawn, one, 330, api::PriceScaleMode::percent, b.at);
    EXPECT_FALSE(relative.own_base(line));
    EXPECT_FALSE(relative.mapping_of(line));
    const api::MainScale alone(drawn, drawn, {}, 330, api::PriceScaleMode::percent, b.at);
    EXPECT_EQ(relative.mapping().min, alone.mapping().min);
    EXPECT_EQ(relative.mapping().max, alone.mapping().max);
    const api::MainScale prices(drawn, drawn, one, 330, api::PriceScaleMode::price, b.at);
    ASSERT_TRUE(prices.mapping_of(line));
    EXPECT_EQ(prices.mapping_of(line)->y(7), prices.mapping().y(7));
  }
}

TEST(MainScaleModes, LastPriceTextByMode) {
  const model::BarColumns bars = four_bars();
  const std::vector<const model::Indicator*> none;
  const auto view = bars.view().subview(1, 3);
  struct Case {
    api::PriceScaleMode mode;
    bool in_view;
    double close;
    const char* text;
  };
  const Case cases[] = {
      {api::PriceScaleMode::price, false, 105, "105.00"},    {api::PriceScaleMode::log, false, 105, "105.00"},
      {api::PriceScaleMode::percent, false, 105, "+5.00%"},  {api::PriceScaleMode::percent, false, 100, "0.00%"},
      {api::PriceScaleMode::percent, true, 105, "-4.55%"},   {api::PriceScaleMode::indexed, false, 104.214, "104.21"},
      {api::PriceScaleMode::indexed, true, 121, "110.00"},
  };
  for (const Case& c : cases) {
    const api::MainScale scale = c.in_view ? api::MainScale(view, view, none, 330, c.mode, {1, 4})
                                           : api::MainScale(bars, bars, none, 330, c.mode);
    std::string text;
    scale.append_mark(text, c.close);
    EXPECT_EQ(text, c.text) << static_cast<int>(c.mode) << " " << c.close;
  }
}

}  // namespace
