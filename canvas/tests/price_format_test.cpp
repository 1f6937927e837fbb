// Prices as a pane's format writes them, and the prefixes and suffixes a format refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "coords/price_format.hpp"
#include "coords/price_scale.hpp"

namespace qc::coords {
namespace {

PriceFormat format(std::optional<std::uint32_t> decimals, std::string prefix, std::string suffix, bool thousands) {
  return {decimals, std::move(prefix), std::move(suffix), thousands};
}

TEST(PriceFormat, Texts) {
  struct Case {
    double v;
    int own;  // the scale's own decimals
    std::optional<PriceFormat> f;
    const char* want;
  };
  const Case cases[] = {
      {3245.5, 2, std::nullopt, "3245.50"},
      {3245.5, 2, PriceFormat{}, "3245.50"},
      {3245.5, 2, format(std::nullopt, "$", "", true), "$3,245.50"},
      {3245.5, 1, format(2, "$", "", true), "$3,245.50"},
      {-1234567.891, 2, format(1, "", " USD", true), "-1,234,567.9 USD"},
      {999.999, 2, format(2, "", "", true), "1,000.00"},
      {999.5, 2, format(0, "", "", true), "1,000"},
      {100, 2, format(0, "", "", true), "100"},
      {-0.004, 2, format(2, "$", "", true), "$0.00"},  // no sign on a zero
      {0.123456789012, 2, format(10, "", "", false), "0.1234567890"},
      {1e21, 0, format(0, "", "", true), "1,000,000,000,000,000,000,000"},
      {NAN, 2, format(2, "€", "", true), "€NaN"},
      {12.5, 2, format(std::nullopt, "", "%", false), "12.50%"},
  };
  for (const Case& c : cases) {
    std::string out;
    append_price_as(out, c.v, c.own, c.f ? &*c.f : nullptr);
    EXPECT_EQ(out, c.want) << c.v;
  }
}

// The scale's labels: units and per cent changes keep their forms, the first within the prefix and suffix.
TEST(PriceFormat, ScaleLabels) {
  PriceTicks ticks;
  ticks.step = 5e10;
  ticks.count = 2;
  ticks.values[0] = 1.5e11;
  ticks.values[1] = 2e11;
  const PriceFormat money = format(4, "$", "", true);
  struct Case {
    ScaleNumbers numbers;
    double v;
    const char* want;
  };
  const Case cases[] = {
      {ScaleNumbers::in_units, 1.5207e11, "$152B"},
      {ScaleNumbers::full, 1.5e11, "$150,000,000,000.0000"},
      {ScaleNumbers::percent, 12.5, "+12.5000%"},
  };
  for (const Case& c : cases) {
    std::string out;
    ScaleLabels(ticks, c.numbers, &money).append(out, c.v);
    EXPECT_EQ(out, c.want) << c.v;
  }
}

TEST(PriceFormat, AffixFaults) {
  struct Case {
    const char* affix;
    std::optional<std::string> fault;
  };
  const Case cases[] = {
      {"", std::nullopt},
      {"$", std::nullopt},
      {" USD", std::nullopt},
      {"12345678", std::nullopt},
      {"€€€€€€€€", std::nullopt},  // eight characters of three bytes each
      {"123456789", "9 characters, more than 8"},
      {"a\tb", "holds a control character"},
      {"\x7f", "holds a control character"},
      {"x\xc2\x85", "holds a control character"},  // U+0085
      {"\xc2\xa0$", std::nullopt},                 // U+00A0 is no control
  };
  for (const Case& c : cases) EXPECT_EQ(affix_fault(c.affix), c.fault) << c.affix;
}

}  // namespace
}  // namespace qc::coords
