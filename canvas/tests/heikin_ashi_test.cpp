// Heikin-Ashi bars worked out by hand: the averages, the highs and lows they widen, and restarts.
#include "api/heikin_ashi.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <vector>

namespace qc::api {
namespace {

constexpr double kNaN = NAN;

TEST(HeikinAshi, AveragesRestartsAndFiniteExtremes) {
  struct Case {
    model::Bar bar;
    double open, high, low, close;  // expected; NaN for a bar without a candle
  };
  const Case cases[] = {
      {{0, 10, 14, 8, 12, 5}, 11, 14, 8, 11},                          // first: open (O + C) / 2
      {{60, 12, 13, 9, 10, 6}, 11, 13, 9, 11},                         // open from the previous pair
      {{120, kNaN, 13, 9, 10, 7}, kNaN, kNaN, kNaN, kNaN},             // no candle; the next one starts afresh
      {{180, 20, 22, 18, 21, 8}, 20.5, 22, 18, 20.25},                 // first again
      {{240, 21, 30, 20, 29, 9}, 20.375, 30, 20, 25},
      {{300, 29, 29, 28, 28.5, 1}, 22.6875, 29, 22.6875, 28.625},      // the low is the Heikin-Ashi open
      {{360, 1, INFINITY, 1, 1, 2}, kNaN, kNaN, kNaN, kNaN},           // an infinite price has no candle
      {{420, DBL_MAX, DBL_MAX, DBL_MAX, DBL_MAX, 3}, DBL_MAX, DBL_MAX, DBL_MAX, DBL_MAX},  // no overflow
      {{480, -DBL_MAX, DBL_MAX, -DBL_MAX, DBL_MAX, 4}, DBL_MAX, DBL_MAX, -DBL_MAX, 0},
  };
  model::BarColumns bars;
  for (const Case& c : cases) bars.push_back(c.bar);
  const model::BarColumns ha = heikin_ashi_bars(bars);
  ASSERT_EQ(ha.size(), bars.size());
  auto same = [](double got, double want) { return std::isnan(want) ? std::isnan(got) : got == want; };
  for (std::size_t i = 0; i < ha.size(); ++i) {
    const Case& c = cases[i];
    EXPECT_TRUE(same(ha[i].open, c.open) && same(ha[i].high, c.high) && same(ha[i].low, c.low) &&
                same(ha[i].close, c.close))
        << "bar " << i << ": " << ha[i].open << " " << ha[i].high << " " << ha[i].low << " " << ha[i].close;
    EXPECT_EQ(ha[i].timestamp, c.bar.timestamp);
    EXPECT_EQ(ha[i].volume, c.bar.volume);
  }
  EXPECT_TRUE(heikin_ashi_bars({}).empty());
}

}  // namespace
}  // namespace qc::api
