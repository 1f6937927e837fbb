// Shortest round-trip texts agree with std::to_chars and read back exactly.
#include "util/numbers.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using qc::util::shortest;

TEST(Shortest, EdgeValues) {
  EXPECT_EQ(shortest(2.0), "2");
  EXPECT_EQ(shortest(0.5), "0.5");
  EXPECT_EQ(shortest(-0.0), "-0");
  EXPECT_EQ(shortest(std::nan("")), "NaN");
  EXPECT_EQ(shortest(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(shortest(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(shortest(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(shortest(1e300), "1e+300");
}

TEST(Shortest, RandomBitPatternsRoundTrip) {
  std::mt19937_64 rng(42);
  for (int i = 0; i < 200000; ++i) {
    std::uint64_t bits = rng();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v)) continue;
    std::string s = shortest(v);
    double back = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), back);
    ASSERT_EQ(res.ec, std::errc()) << s;
    ASSERT_EQ(std::memcmp(&back, &v, sizeof v), 0) << s;
  }
}
