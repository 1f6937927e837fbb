// The block-wise window extremes against the monotonic deques: same values on every window, the same
// windows valued around NaN gaps, for windows that divide the series into blocks evenly or not.
#include "studies/window.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace qc::studies;

namespace {

// A rounded random walk (many equal values) with a NaN at each given bar.
std::vector<double> walk(std::size_t n, std::vector<std::size_t> gaps) {
  std::mt19937_64 rng(7);
  std::normal_distribution<double> step(0.0, 2.0);
  std::vector<double> x(n);
  double level = 100.0;
  for (double& v : x) v = std::round(level += step(rng));
  for (std::size_t g : gaps) x[g] = kNaN;
  return x;
}

TEST(WindowExtremes, AgreeWithTheDequesOnEveryWindow) {
  const std::vector<double> x = walk(301, {0, 40, 41, 150, 300});
  for (std::size_t p : {1u, 2u, 3u, 7u, 10u, 64u, 110u, 301u}) {
    WindowExtremes both(x, p);
    WindowMax hi(x, p);
    WindowMin lo(x, p);
    std::size_t valued = 0;
    for (std::size_t t = 0; t < x.size(); ++t) {
      const bool a = both.step(t);
      const bool h = hi.step(t);
      const bool l = lo.step(t);
      ASSERT_EQ(a, h && l) << "p " << p << " bar " << t;
      if (!a) continue;
      ++valued;
      EXPECT_EQ(both.highest(), hi.value()) << "p " << p << " bar " << t;
      EXPECT_EQ(both.lowest(), lo.value()) << "p " << p << " bar " << t;
    }
    // The longest run between the gaps is bars 151 … 299, 149 bars.
    EXPECT_EQ(valued > 0, p <= 149) << "p " << p;
  }
}

}  // namespace
