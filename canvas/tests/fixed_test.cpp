// The fixed-point fast paths agree with std::to_chars digit for digit.
#include "util/fixed.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace qc::util {
namespace {

std::string fixed(double v, int decimals) {
  std::string s;
  append_fixed(s, v, decimals);
  return s;
}

std::string reference(double v, int decimals) {
  char buf[400];
  return {buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals).ptr};
}

TEST(Fixed, EdgeValuesPerFormat) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double v;
    const char *n0, *n1, *n2, *n4;
  };
  const Case cases[] = {
      {0.0, "0", "0.0", "0.00", "0.0000"},
      {-0.0, "-0", "-0.0", "-0.00", "-0.0000"},
      {-0.001, "-0", "-0.0", "-0.00", "-0.0010"},
      {12.0, "12", "12.0", "12.00", "12.0000"},
      {-3.456, "-3", "-3.5", "-3.46", "-3.4560"},
      // Exact binary ties go to the even neighbour.
      {0.5, "0", "0.5", "0.50", "0.5000"},
      {1.5, "2", "1.5", "1.50", "1.5000"},
      {2.5, "2", "2.5", "2.50", "2.5000"},
      {0.125, "0", "0.1", "0.12", "0.1250"},
      {0.375, "0", "0.4", "0.38", "0.3750"},
      {-0.625, "-1", "-0.6", "-0.62", "-0.6250"},
      {0.00005 * 1 + 0.0, "0", "0.0", "0.00", "0.0001"},
      {1.0 / 65536, "0", "0.0", "0.00", "0.0000"},   // 0.0000152587890625
      {5.0 / 131072, "0", "0.0", "0.00", "0.0000"},  // 0.000038146972656250: below the four-decimal tie
      // Decimal "ties" that are not binary ties round by their exact value.
      {1.005, "1", "1.0", "1.00", "1.0050"},
      {1.015, "1", "1.0", "1.01", "1.0150"},
      {2.675, "3", "2.7", "2.67", "2.6750"},
      {0.045, "0", "0.0", "0.04", "0.0450"},
      {99.995, "100", "100.0", "100.00", "99.9950"},
      {-999.9999, "-1000", "-1000.0", "-1000.00", "-999.9999"},
      // Around the end of the fast path and far beyond it.
      {9999999999999.995, "10000000000000", "10000000000000.0", "9999999999999.99", "9999999999999.9941"},
      {123456789012345.67, "123456789012346", "123456789012345.7", "123456789012345.67", "123456789012345.6719"},
      {1e20, "100000000000000000000", "100000000000000000000.0", "100000000000000000000.00",
       "100000000000000000000.0000"},
      {5e-324, "0", "0.0", "0.00", "0.0000"},
      {-5e-324, "-0", "-0.0", "-0.00", "-0.0000"},
      {std::nan(""), "NaN", "NaN", "NaN", "NaN"},
      {inf, "inf", "inf", "inf", "inf"},
      {-inf, "-inf", "-inf", "-inf", "-inf"},
  };
  for (const Case& c : cases) {
    std::string s0, s1, s2, s4;
    append_fixed0(s0, c.v), append_fixed1(s1, c.v), append_fixed2(s2, c.v), append_fixed4(s4, c.v);
    EXPECT_EQ(s0, c.n0) << c.v;
    EXPECT_EQ(s1, c.n1) << c.v;
    EXPECT_EQ(s2, c.n2) << c.v;
    EXPECT_EQ(s4, c.n4) << c.v;
  }
  const double max = std::numeric_limits<double>::max();
  EXPECT_EQ(fixed(max, 2), reference(max, 2));
  EXPECT_EQ(fixed(-max, 10), reference(-max, 10));
  EXPECT_EQ(fixed(max, 2).size(), 312u);
  EXPECT_EQ(fixed(-max, 10).size(), kMaxFixedChars);
  // Decimals outside 0 to 10 are clamped.
  EXPECT_EQ(fixed(-2.5e-11, 12), "-0.0000000000");
  EXPECT_EQ(fixed(2.75, -1), "3");
}

// Values drawn to hit every path: chart-sized coordinates, prices in cents, exact binary ties, values one
// ulp either side of a decimal tie, the end of the fast range, and arbitrary bit patterns.
class ValueSource {
 public:
  ValueSource(std::uint64_t seed, int decimals) : rng_(seed), scale_(std::pow(10.0, decimals)) {}

  double next() {
    const double sign = (rng_() & 1) ? -1.0 : 1.0;
    switch (rng_() % 8) {
      case 0: return sign * uniform(0.0, 4000.0);
      case 1: return sign * std::ldexp(uniform(1.0, 2.0), static_cast<int>(rng_() % 100) - 50);
      case 2: return sign * static_cast<double>(rng_() % 100'000'000) / scale_;
      case 3: {  // a decimal tie: exact in binary only for a few fractions
        const double tie = (static_cast<double>(rng_() % 10'000'000) + 0.5) / scale_;
        return sign * tie;
      }
      case 4: {  // one or two ulps away from a decimal tie
        const double tie = (static_cast<double>(rng_() % 10'000'000) + 0.5) / scale_;
        double v = tie;
        for (int k = static_cast<int>(rng_() % 5) - 2; k != 0; k += k > 0 ? -1 : 1) {
          v = std::nextafter(v, k > 0 ? 1e300 : -1e300);
        }
        return sign * v;
      }
      case 5: {  // exact binary ties: an odd multiple of half a decimal unit that is a dyadic fraction
        const double frac = static_cast<double>(2 * (rng_() % 4) + 1) / 8.0;
        return sign * (static_cast<double>(rng_() % 1'000'000'000) + frac);
      }
      case 6: return sign * (1e15 / scale_) * uniform(0.5, 2.0);
      default: {
        double v;
        do {
          const std::uint64_t bits = rng_();
          std::memcpy(&v, &bits, sizeof v);
        } while (!std::isfinite(v) || std::fabs(v) > 1e30);  // huge values are exact by construction
        return v;
      }
    }
  }

 private:
  double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }

  std::mt19937_64 rng_;
  double scale_;
};

void expect_matches_to_chars(int decimals, std::size_t count, std::uint64_t seed) {
  ValueSource source(seed, decimals);
  char ours[kMaxFixedChars];
  char theirs[400];
  std::size_t mismatches = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double v = source.next();
    const char* end = write_fixed(ours, v, decimals);
    const char* ref = std::to_chars(theirs, theirs + sizeof theirs, v, std::chars_format::fixed, decimals).ptr;
    const std::string_view a(ours, static_cast<std::size_t>(end - ours));
    const std::string_view b(theirs, static_cast<std::size_t>(ref - theirs));
    if (a != b && ++mismatches <= 10) ADD_FAILURE() << "decimals " << decimals << ": " << a << " != " << b;
  }
  EXPECT_EQ(mismatches, 0u);
}

TEST(Fixed, TwoDecimalsMatchToCharsOnTenMillionValues) { expect_matches_to_chars(2, 10'000'000, 20240601); }

TEST(Fixed, OtherDecimalsMatchToChars) {
  for (int decimals : {0, 1, 3, 4, 5, 6, 7, 8, 9, 10}) expect_matches_to_chars(decimals, 1'000'000, 7 + decimals);
}

// Every output of the 32-bit digit path, not a sample: each integer k below the path's end (10^4 units)
// and a tenth beyond, written as k / 10^P, and the decimal tie (k + 1/2) / 10^P with its two neighbours
// on either side, both signs. So every integer part of one to five digits meets every fraction, every
// carry across a digit count (9.995 to 10.00, 9999.995 to 10000.00) is taken, and each tie is decided
// both by the fast comparison and by the exact fallback.
void expect_every_unit_matches(int decimals) {
  const double scale = std::pow(10.0, decimals);
  const auto units = static_cast<std::int64_t>(11'000 * scale);
  char ours[kMaxFixedChars];
  char theirs[400];
  std::size_t mismatches = 0, checked = 0;
  auto check = [&](double v) {
    for (double s : {v, -v}) {
      const std::string_view a(ours, static_cast<std::size_t>(write_fixed(ours, s, decimals) - ours));
      const char* ref = std::to_chars(theirs, theirs + sizeof theirs, s, std::chars_format::fixed, decimals).ptr;
      const std::string_view b(theirs, static_cast<std::size_t>(ref - theirs));
      ++checked;
      if (a != b && ++mismatches <= 10) ADD_FAILURE() << "decimals " << decimals << ": " << a << " != " << b;
    }
  };
  for (std::int64_t k = 0; k < units; ++k) {
    check(static_cast<double>(k) / scale);
    const double tie = (static_cast<double>(k) + 0.5) / scale;
    check(tie);
    double below = tie, above = tie;
    for (int ulp = 0; ulp < 2; ++ulp) {
      below = std::nextafter(below, 0.0), above = std::nextafter(above, 1e300);
      check(below), check(above);
    }
  }
  EXPECT_EQ(checked, static_cast<std::size_t>(units) * 12);
  EXPECT_EQ(mismatches, 0u);
}

TEST(Fixed, EveryUnitOfTheDigitPathMatchesToChars) {
  for (int decimals : {0, 1, 2}) expect_every_unit_matches(decimals);
}

}  // namespace
}  // namespace qc::util
