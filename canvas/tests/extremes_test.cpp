// The blockwise extremes pass against a plain loop over the same bars: values, first bars, what is counted.
#include "util/extremes.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace qc::util {
namespace {

const double kNaN = std::nan("");
const double kInf = std::numeric_limits<double>::infinity();

// The first bar of the strictly least and greatest counted value, b when none is counted.
ExtremeBars plain(const std::vector<double>& v, std::size_t a, std::size_t b, bool finite_only) {
  ExtremeBars out{{}, b, b};
  for (std::size_t k = a; k < b; ++k) {
    if (finite_only ? !std::isfinite(v[k]) : std::isnan(v[k])) continue;
    if (out.low == b || v[k] < v[out.low]) out.low = k;
    if (out.high == b || v[k] > v[out.high]) out.high = k;
  }
  if (out.low != b) out.values = {v[out.low], v[out.high]};
  return out;
}

// Stretches shorter than a block, across block edges and of many blocks; values with ties, blanks and
// infinities, counted as finite values or as any number.
TEST(Extremes, MatchThePlainLoop) {
  std::mt19937 rng(11);
  for (const std::size_t n : {1u, 3u, 63u, 64u, 65u, 200u, 1000u}) {
    for (const double blanks : {0.0, 0.3, 1.0}) {
      std::vector<double> v(n);
      std::uniform_int_distribution<int> level(-5, 5);
      std::uniform_real_distribution<double> u(0.0, 1.0);
      for (double& x : v) {
        x = u(rng) < blanks ? kNaN : level(rng);
        if (u(rng) < 0.02) x = u(rng) < 0.5 ? kInf : -kInf;
      }
      for (const bool finite_only : {true, false}) {
        for (const std::size_t a : {std::size_t{0}, n / 3}) {
          const auto value = [&](std::size_t k) { return v[k]; };
          const auto counted = [&](std::size_t k) { return finite_only ? finite_value(v[k]) : not_nan(v[k]); };
          const ExtremeBars want = plain(v, a, n, finite_only);
          const ExtremeBars got = extreme_bars(a, n, value, value, counted);
          const std::string where = "n " + std::to_string(n) + " from " + std::to_string(a) + " blanks " +
                                    std::to_string(blanks) + (finite_only ? " finite" : " numbers");
          EXPECT_EQ(got.low, want.low) << where;
          EXPECT_EQ(got.high, want.high) << where;
          Extremes range;
          EXPECT_EQ(extremes(a, n, value, value, counted, range), want.low != n) << where;
          if (want.low != n) {
            EXPECT_EQ(range.low, want.values.low) << where;
            EXPECT_EQ(range.high, want.values.high) << where;
          }
        }
      }
    }
  }
}

// Counted bars whose values are all infinite the wrong way still count: none is only when no bar counts.
TEST(Extremes, InfiniteValuesCount) {
  const std::vector<double> up{kInf, kNaN, kInf}, down{-kInf, -kInf};
  const auto counted_of = [](const std::vector<double>& v) { return [&v](std::size_t k) { return not_nan(v[k]); }; };
  const auto value_of = [](const std::vector<double>& v) { return [&v](std::size_t k) { return v[k]; }; };
  Extremes range;
  ASSERT_TRUE(extremes(0, up.size(), value_of(up), value_of(up), counted_of(up), range));
  EXPECT_EQ(range.low, kInf);
  EXPECT_EQ(extreme_bars(0, up.size(), value_of(up), value_of(up), counted_of(up)).low, 0u);
  ASSERT_TRUE(extremes(0, down.size(), value_of(down), value_of(down), counted_of(down), range));
  EXPECT_EQ(range.high, -kInf);
  const std::vector<double> blank{kNaN, kNaN};
  EXPECT_FALSE(extremes(0, blank.size(), value_of(blank), value_of(blank), counted_of(blank), range));
  EXPECT_EQ(extreme_bars(0, blank.size(), value_of(blank), value_of(blank), counted_of(blank)).high, 2u);
}

}  // namespace
}  // namespace qc::util
