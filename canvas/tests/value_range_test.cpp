// Value ranges of indicators and of the price pane, the degenerate-range rule and the pane mapping.
#include "api/layout.hpp"
#include "coords/price_mapping.hpp"
#include "api/value_range.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace qc;
using api::ValueRange;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

model::Indicator with_values(model::RangeMode mode, std::vector<std::vector<double>> vectors) {
  auto ind = model::Indicator::make("t", "T");
  ind.range = mode;
  for (auto& values : vectors) {
    auto vec = model::IndicatorVector::make("v", model::VectorStyle::line("#fff", 1.0));
    vec.values.assign(values.begin(), values.end());
    ind = std::move(ind).add_vector(std::move(vec));
  }
  return ind;
}

model::Bar bar(double low, double high) { return {0, low, high, low, high, 0.0}; }

void expect_range(ValueRange got, ValueRange want) {
  EXPECT_DOUBLE_EQ(got.lo, want.lo);
  EXPECT_DOUBLE_EQ(got.hi, want.hi);
}

struct RangeCase {
  const char* name;
  model::RangeMode mode;
  std::vector<std::vector<double>> values;
  ValueRange want;
};

bool finite_and_wide(ValueRange r) {
  return std::isfinite(r.lo) && std::isfinite(r.hi) && std::isfinite(r.hi - r.lo) && r.hi > r.lo;
}

}  // namespace

TEST(IndicatorRange, ModesOverOrdinaryValues) {
  const model::BarColumns bars{bar(10, 20), bar(5, 30)};
  const std::vector<RangeCase> cases{
      {"auto pads by a tenth", model::range::Auto{}, {{1, kNaN, 11}}, {0, 12}},
      {"auto spans every vector", model::range::Auto{}, {{1}, {kNaN, 11}}, {0, 12}},
      {"auto over a constant series", model::range::Auto{}, {{5, 5, 5}}, {0, 100}},
      {"auto without values", model::range::Auto{}, {{}, {kNaN}}, {0, 100}},
      {"fixed as stored", model::range::Fixed{-3, 7}, {{1000}}, {-3, 7}},
      {"symmetric", model::range::Symmetric{}, {{-2, 1}}, {-2.2, 2.2}},
      {"price pads by a twentieth", model::range::Price{}, {{1000}}, {3.75, 31.25}},
      {"from zero to a tenth above the largest", model::range::FromZero{}, {{10, kNaN}, {30}}, {0, 33}},
      {"from zero with a negative value is auto", model::range::FromZero{}, {{-10, 30}}, {-14, 34}},
      {"from zero without a positive value is auto", model::range::FromZero{}, {{0, 0}}, {0, 100}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    expect_range(api::indicator_range(bars, with_values(c.mode, c.values)), c.want);
  }
}

TEST(IndicatorRange, NonFiniteValuesAreLeftOut) {
  const model::BarColumns bars{bar(10, 20), bar(-kInf, kNaN), bar(kNaN, kInf)};
  expect_range(api::indicator_range(bars, with_values(model::range::Auto{}, {{1, kInf, -kInf, 11}})), {0, 12});
  expect_range(api::indicator_range(bars, with_values(model::range::Symmetric{}, {{-2, -kInf, 1}})), {-2.2, 2.2});
  expect_range(api::indicator_range(bars, with_values(model::range::Price{}, {})), {9.5, 20.5});
}

TEST(IndicatorRange, DegenerateRangesAreWidened) {
  const model::BarColumns no_bars;
  const std::vector<RangeCase> cases{
      {"fixed of zero width", model::range::Fixed{5, 5}, {}, {4.75, 5.25}},
      {"fixed at zero", model::range::Fixed{0, 0}, {}, {-1, 1}},
      {"fixed with a NaN end", model::range::Fixed{kNaN, 1}, {}, {0, 100}},
      {"fixed with an infinite end", model::range::Fixed{0, kInf}, {}, {0, 100}},
      {"symmetric over zeros", model::range::Symmetric{}, {{0, kNaN, 0}}, {-1, 1}},
      {"symmetric without values", model::range::Symmetric{}, {}, {-1, 1}},
      {"price without bars", model::range::Price{}, {}, {0, 100}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    expect_range(api::indicator_range(no_bars, with_values(c.mode, c.values)), c.want);
  }
}

model::Indicator with_levels(model::Indicator ind, model::IndicatorPlacement placement, std::vector<double> levels) {
  ind.placement = placement;
  for (double v : levels) ind = std::move(ind).add_level(model::IndicatorLevel::make("#787b86", v));
  return ind;
}

// A sub-pane's levels join its values in the Auto and Symmetric modes; other modes and other placements
// keep ranging over the values alone.
TEST(IndicatorRange, SubPaneLevelsCountAsValues) {
  const model::BarColumns bars{bar(10, 20)};
  const model::IndicatorPlacement sub = model::placement::SubPane{0.15};
  const model::IndicatorPlacement band = model::placement::VolumeBand{0.2};
  const model::IndicatorPlacement overlay = model::placement::Overlay{};
  struct Case {
    const char* name;
    model::Indicator ind;
    ValueRange want;
  };
  const Case cases[] = {
      {"symmetric levels without values", with_levels(with_values(model::range::Symmetric{}, {{}}), sub, {100, -100, 0}),
       {-110, 110}},
      {"symmetric levels beyond small values",
       with_levels(with_values(model::range::Symmetric{}, {{0.5, -1}}), sub, {3, -3, 0}), {-3.3, 3.3}},
      {"symmetric values beyond the levels", with_levels(with_values(model::range::Symmetric{}, {{-2, 1}}), sub, {1}),
       {-2.2, 2.2}},
      {"auto levels widen the values", with_levels(with_values(model::range::Auto{}, {{1, 11}}), sub, {50}),
       {-3.9, 54.9}},
      {"auto levels without values", with_levels(with_values(model::range::Auto{}, {}), sub, {27, 26.5}),
       {26.45, 27.05}},
      {"auto single level", with_levels(with_values(model::range::Auto{}, {}), sub, {1}), {0, 100}},
      {"non-finite levels are left out", with_levels(with_values(model::range::Auto{}, {{1, 11}}), sub, {kNaN, kInf}),
       {0, 12}},
      {"fixed ignores levels", with_levels(with_values(model::range::Fixed{0, 100}, {}), sub, {150}), {0, 100}},
      {"price ignores levels", with_levels(with_values(model::range::Price{}, {}), sub, {100}), {9.5, 20.5}},
      {"volume band ignores levels", with_levels(with_values(model::range::Auto{}, {{1, 11}}), band, {50}), {0, 12}},
      {"overlay ignores levels", with_levels(with_values(model::range::Symmetric{}, {{-2, 1}}), overlay, {5}),
       {-2.2, 2.2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    expect_range(api::indicator_range(bars, c.ind), c.want);
  }
}

TEST(IndicatorRange, InvertedFixedRangeIsKept) {
  expect_range(api::indicator_range({}, with_values(model::range::Fixed{100, 0}, {})), {100, 0});
}

TEST(PricePaneRange, BarsAndOverlaysPaddedByFivePercent) {
  const model::BarColumns bars{bar(10, 20), bar(kNaN, 15)};
  auto overlay = with_values(model::range::Auto{}, {{kNaN, 30, kInf}});
  const model::Indicator* overlays[] = {&overlay};
  expect_range(api::price_pane_range(bars, overlays), {9, 31});
  expect_range(api::price_pane_range(bars, {}), {9.5, 20.5});
}

TEST(PricePaneRange, FlatAndEmptyCharts) {
  const model::BarColumns flat{bar(100, 100), bar(100, 100)};
  expect_range(api::price_pane_range(flat, {}), {95, 105});
  const model::BarColumns nan_bars{bar(kNaN, kNaN)};
  expect_range(api::price_pane_range(nan_bars, {}), {0, 100});
  const model::BarColumns only_highs{{0, 1, 8, kNaN, 1, 0}};
  expect_range(api::price_pane_range(only_highs, {}), {7.6, 8.4});
  const model::BarColumns tiny{bar(5e-324, 5e-324)};
  expect_range(api::price_pane_range(tiny, {}), {5e-324 - 1, 5e-324 + 1});
}

TEST(PricePaneRange, ExtremeValuesKeepAFiniteWidth) {
  const std::vector<model::BarColumns> charts{
      {bar(-kMax, kMax)},
      {bar(kMax, kMax)},
      {bar(-kMax, -kMax), bar(1, 1)},
      {bar(1e-300, 1e-300)},
  };
  for (const auto& bars : charts) {
    const ValueRange r = api::price_pane_range(bars, {});
    EXPECT_TRUE(finite_and_wide(r)) << r.lo << " " << r.hi;
    const auto ind = with_values(model::range::Auto{}, {{bars[0].low, bars[0].high, 1}});
    EXPECT_TRUE(finite_and_wide(api::indicator_range(bars, ind)));
    const auto sym = with_values(model::range::Symmetric{}, {{bars[0].low}});
    EXPECT_TRUE(finite_and_wide(api::indicator_range(bars, sym)));
  }
}

TEST(PriceMapping, MapsTheRangeOntoThePane) {
  const coords::PriceMapping main{100, 200, 0, 400};
  EXPECT_DOUBLE_EQ(main.y(150), 200);
  EXPECT_DOUBLE_EQ(main.y(100), 400);
  EXPECT_DOUBLE_EQ(main.y(200), 0);
  const coords::PriceMapping sub{100, 200, 500, 400};
  EXPECT_DOUBLE_EQ(sub.y(150), 700);
  EXPECT_TRUE(std::isnan(main.y(kNaN)));
}

TEST(PriceMapping, FarValuesStayFinite) {
  const coords::PriceMapping scale{-1, 1, 10, 300};
  for (double v : {kMax, -kMax, 1e300, kInf, -kInf}) {
    EXPECT_TRUE(std::isfinite(scale.y(v))) << v;
  }
  EXPECT_LT(scale.y(kMax), scale.y(1));
  EXPECT_GT(scale.y(-kMax), scale.y(-1));
  const coords::PriceMapping flat_pane{-1, 1, 0, 0};
  EXPECT_EQ(flat_pane.y(kMax), 0.0);
}

TEST(Layout, PaneSizesFromTheCanvas) {
  const auto l = api::Layout::make(800, 600, 4, 0.375);
  EXPECT_DOUBLE_EQ(l.plot_width, 730);
  EXPECT_DOUBLE_EQ(l.plot_height, 570);
  EXPECT_DOUBLE_EQ(l.main_height, 356.25);
  EXPECT_DOUBLE_EQ(l.spacing, 182.5);
  EXPECT_DOUBLE_EQ(l.candle_width(), 146);
  EXPECT_DOUBLE_EQ(api::Layout::make(800, 600, 1000, 0).candle_width(), 1.0);
}

TEST(Layout, SmallCanvasesGiveEmptyAreas) {
  const auto l = api::Layout::make(50, 20, 3, 0);
  EXPECT_EQ(l.plot_width, 0);
  EXPECT_EQ(l.plot_height, 0);
  EXPECT_EQ(l.spacing, 0);
}

// Plot height 570 on a 600 px canvas. Beyond a sum of 0.75 the price pane keeps a quarter (142.5) and each
// ratio r becomes (r * 0.75) / sum; up to it, and for sums that are not finite, the ratios stand.
TEST(Layout, SubPanesTakeAtMostThreeQuartersOfThePlot) {
  struct Case {
    double sum, main_height, ratio, scaled;
  };
  const Case cases[] = {
      {0.375, 356.25, 0.25, 0.25},
      {0.75, 142.5, 0.25, 0.25},
      {1.0, 142.5, 0.5, 0.375},
      {1.2, 142.5, 0.6, 0.375},
      {1.5, 142.5, 0.2, 0.1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sum);
    const auto l = api::Layout::make(800, 600, 3, c.sum);
    EXPECT_DOUBLE_EQ(l.main_height, c.main_height);
    EXPECT_DOUBLE_EQ(l.sub_pane_ratio(c.ratio), c.scaled);
  }
  EXPECT_EQ(api::Layout::make(800, 600, 3, kInf).main_height, 0);
  EXPECT_EQ(api::Layout::make(800, 600, 3, kInf).sub_pane_ratio(0.2), 0.2);
}
