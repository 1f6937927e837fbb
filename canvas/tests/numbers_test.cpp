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

namespace {
std::string fixed(double v) {
  std::string s;
  qc::util::append_shortest_fixed(s, v);
  return s;
}
}  // namespace

// Both shortest forms read back exactly; the fixed one never uses an exponent.
TEST(Shortest, RandomBitPatternsRoundTrip) {
  std::mt19937_64 rng(42);
  for (int i = 0; i < 200000; ++i) {
    std::uint64_t bits = rng();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v)) continue;
    for (const std::string& s : {shortest(v), fixed(v)}) {
      double back = 0;
      auto res = std::from_chars(s.data(), s.data() + s.size(), back);
      ASSERT_EQ(res.ec, std::errc()) << s;
      ASSERT_EQ(std::memcmp(&back, &v, sizeof v), 0) << s;
    }
    ASSERT_EQ(fixed(v).find_first_of("eE"), std::string::npos) << v;
  }
}

TEST(ShortestFixed, EdgeValues) {
  EXPECT_EQ(fixed(2.0), "2");
  EXPECT_EQ(fixed(2.5), "2.5");
  EXPECT_EQ(fixed(0.1), "0.1");
  EXPECT_EQ(fixed(-0.0), "-0");
  EXPECT_EQ(fixed(1e21), "1000000000000000000000");
  EXPECT_EQ(fixed(1e-7), "0.0000001");
  EXPECT_EQ(fixed(std::nan("")), "NaN");
  EXPECT_EQ(fixed(-std::numeric_limits<double>::infinity()), "-inf");
  // The longest texts: every digit of the largest double, the smallest subnormal's 324 fraction digits.
  const std::string big = fixed(std::numeric_limits<double>::max());
  EXPECT_EQ(big.size(), 309u);
  EXPECT_EQ(big.substr(0, 17), "17976931348623157");
  const std::string tiny = fixed(-std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(tiny, "-0." + std::string(323, '0') + "5");
}

namespace {
template <class F>
std::string json(F v) {
  std::string s;
  qc::util::append_json_number(s, v);
  return s;
}
}  // namespace

TEST(JsonNumber, FixedAndExponentFormsPerWidth) {
  struct Case {
    double v;
    const char* text;
  };
  const Case doubles[] = {
      {2.0, "2.0"},          {48.0, "48.0"},       {13.5, "13.5"},
      {0.97, "0.97"},        {1e-5, "0.00001"},    {1e-6, "1e-6"},
      {1e15, "1000000000000000.0"}, {1e16, "1e+16"}, {1.5e16, "1.5e+16"},
      {0.0, "0.0"},          {-0.0, "-0.0"},       {-2.5, "-2.5"},
      {1.7976931348623157e308, "1.7976931348623157e+308"}, {5e-324, "5e-324"},
      {std::nan(""), "null"}, {-std::numeric_limits<double>::infinity(), "null"},
      {123456.789, "123456.789"}, {-1.25e-7, "-1.25e-7"},
  };
  for (const auto& c : doubles) EXPECT_EQ(json(c.v), c.text) << c.text;
  struct FCase {
    float v;
    const char* text;
  };
  const FCase floats[] = {
      {0.1f, "0.1"}, {1e12f, "1000000000000.0"}, {1e13f, "1e+13"}, {1e-6f, "0.000001"},
      {1e-7f, "1e-7"}, {4.0f, "4.0"}, {-0.0f, "-0.0"},
  };
  for (const auto& c : floats) EXPECT_EQ(json(c.v), c.text) << c.text;
}

TEST(JsonNumber, RandomValuesReadBackExactly) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 200000; ++i) {
    std::uint64_t bits = rng();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v)) continue;
    std::string s = json(v);
    double back = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), back);
    ASSERT_EQ(res.ec, std::errc()) << s;
    ASSERT_EQ(res.ptr, s.data() + s.size()) << s;
    ASSERT_EQ(std::memcmp(&back, &v, sizeof v), 0) << s;
    float f;
    std::uint32_t fbits = static_cast<std::uint32_t>(bits);
    std::memcpy(&f, &fbits, sizeof f);
    if (!std::isfinite(f)) continue;
    s = json(f);
    float fback = 0;
    res = std::from_chars(s.data(), s.data() + s.size(), fback);
    ASSERT_EQ(res.ec, std::errc()) << s;
    ASSERT_EQ(std::memcmp(&fback, &f, sizeof f), 0) << s;
  }
}
