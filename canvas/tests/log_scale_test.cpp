// Log price scale: the mapping from the prices' ends, its ticks and labels, and the scale drawn from them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "coords/log_scale.hpp"
#include "coords/price_scale.hpp"
#include "render/chart/axes.hpp"

namespace qc::coords {
namespace {

using render::render_price_scale;
using render::render_time_axis;

const double kNaN = std::nan("");
constexpr double kInf = std::numeric_limits<double>::infinity();

// Prices 10 to 1000 span two decades; padded by a tenth of a decade on each side, they fill 2.2 decades, and
// 100, their geometric middle, lies at the pane's middle.
TEST(LogPriceMapping, PadsTheLogarithmsAndHoldsWhatHasNone) {
  const auto pane = log_price_mapping(10, 1000, 0, 440);
  ASSERT_TRUE(pane);
  EXPECT_TRUE(pane->log);
  EXPECT_NEAR(pane->y(1000), 20, 1e-9);
  EXPECT_NEAR(pane->y(100), 220, 1e-9);
  EXPECT_NEAR(pane->y(10), 420, 1e-9);
  EXPECT_NEAR(pane->min, 10 / std::pow(10, 0.1), 1e-12);
  EXPECT_NEAR(pane->max, 1000 * std::pow(10, 0.1), 1e-9);
  EXPECT_NEAR(pane->y(pane->min), 440, 1e-9);
  EXPECT_NEAR(pane->y(pane->max), 0, 1e-9);
  // No logarithm: as far below as the linear mapping holds anything; NaN stays NaN.
  EXPECT_EQ(pane->y(0), 440 + 1e6 * 440);
  EXPECT_EQ(pane->y(-5), 440 + 1e6 * 440);
  EXPECT_EQ(pane->y(kInf), 440 - 1e6 * 440);
  EXPECT_TRUE(std::isnan(pane->y(kNaN)));

  // The widest prices a range holds keep finite ends.
  const auto widest = log_price_mapping(5e-324, 0x1p1021, 0, 440);
  ASSERT_TRUE(widest);
  EXPECT_TRUE(std::isfinite(widest->min) && std::isfinite(widest->max));

  struct Refused {
    double lo, hi;
  };
  const Refused refused[] = {{0, 10},     {-1, 10},  {5, 5},   {10, 5}, {kNaN, 1}, {1, kNaN},
                             {1, kInf},   {1e300, std::nextafter(1e300, kInf)}};  // equal logarithms
  for (const Refused& r : refused) EXPECT_FALSE(log_price_mapping(r.lo, r.hi, 0, 440)) << r.lo << " " << r.hi;
}

std::vector<std::string> labels_of(const LabelledTicks& ticks) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < ticks.values.size(); ++i) ticks.append_label(texts.emplace_back(), i);
  return texts;
}

// 1, 2 and 5 of each decade, then every digit, then the linear ticks; after the log rule, a gap of more than
// 120 px between two ticks kept, or between the pane's edge and the tick kept nearest it, takes the linear ticks
// of its prices and height strictly between them, each at least 20 px from both ends and from the last one added.
TEST(LogPriceTicks, RoundPricesThenEveryDigitThenLinearTicksTopDown) {
  struct Case {
    double lo, hi, height;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      // 1, 2 and 5 of each decade; no gap reaches 120 px: the log rule's ticks alone.
      {1, 1000, 470, {"1000", "500", "200", "100", "50", "20", "10", "5", "2", "1"}},
      // Going down, a tick less than 20 px below the last one kept is dropped.
      {1, 1000, 100, {"1000", "200", "20", "2"}},
      // Negative powers of ten written with as many decimals.
      {0.01, 1, 470, {"1", "0.5", "0.2", "0.1", "0.05", "0.02", "0.01"}},
      // Only 1000 and 2000 are round between 623 and 3679: every digit. 182 px lie between 2000 and 1000: the
      // linear ticks of that stretch (step 200) fill them, 28 to 48 px apart.
      {666.789978, 3393.52002, 470,
       {"3000", "2000", "1800", "1600", "1400", "1200", "1000", "900", "800", "700"}},
      // Only 100 inside: the linear ticks, labelled as the linear scale labels them...
      {100, 110, 470, {"110", "109", "108", "107", "106", "105", "104", "103", "102", "101", "100"}},
      // ... and dropped by the same rule (4.0 lies 17 px below 4.5).
      {1.5, 4.5, 174, {"4.5", "3.5", "3.0", "2.5", "2.0", "1.5"}},
      // 1000, 500, 200 and 100 are kept, 219 to 289 px apart: steps of 100, 50 and 20 fill the gaps.
      {100, 1000, 800,
       {"1000", "900", "800", "700", "600", "500", "450", "400", "350", "300", "250", "200", "180", "160", "140",
        "120", "100"}},
      // At 186 px a tenfold: 900, 450 and 180 would lie 19.6 px under the tick above them and are left out;
      // 200 to 100 (129 px) is filled, 500 to 200 (170 px) too.
      {100, 1000, 470,
       {"1000", "800", "700", "600", "500", "400", "350", "300", "250", "200", "160", "140", "120", "100"}},
      // 600 to 1000 are digits; 1000 lies 195 px under the pane's top: the stretch above it takes steps of 100.
      {666.79, 1576.09, 450, {"1500", "1400", "1300", "1200", "1100", "1000", "900", "800", "700"}},
  };
  for (const Case& c : cases) {
    const auto pane = log_price_mapping(c.lo, c.hi, 0, c.height);
    ASSERT_TRUE(pane);
    const LabelledTicks ticks = log_price_ticks(*pane);
    EXPECT_EQ(labels_of(ticks), c.labels) << c.lo << " " << c.hi << " at " << c.height;
    for (std::size_t i = 1; i < ticks.values.size(); ++i) {
      EXPECT_GE(pane->y(ticks.values[i]) - pane->y(ticks.values[i - 1]), kLogTickGap) << c.labels[i];
    }
  }
}

// The labels are sized by the longest one kept, each written with its own decimals.
TEST(LogPriceTicks, ScaleDrawnFromTheLabelledTicks) {
  const auto pane = log_price_mapping(1e-9, 1e-8, 0, 300);
  ASSERT_TRUE(pane);
  const LabelledTicks ticks = log_price_ticks(*pane);
  EXPECT_EQ(labels_of(ticks),
            (std::vector<std::string>{"0.00000001", "0.000000005", "0.000000002", "0.000000001"}));
  EXPECT_EQ(ticks.most_decimals(), 9);
  EXPECT_DOUBLE_EQ(ticks.largest_magnitude(), 1e-8);
  render::SvgBackend svg(400, 300, 1);
  render_price_scale(svg, {"", "", ""}, 330, *pane, ticks);
  const std::string body(svg.body());
  EXPECT_NE(body.find(R"(font-size="10.0" text-anchor="start" dominant-baseline="central">0.000000001<)"),
            std::string::npos);
  EXPECT_EQ(body.find(R"(font-size="11.0")"), std::string::npos);
}

}  // namespace
}  // namespace qc::coords
