// Prices as a pane's format writes them.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "coords/price_format.hpp"

namespace qc::coords {
namespace {

TEST(PriceFormat, Texts) {
  struct Case {
    double v;
    int own;  // the scale's own decimals
    std::optional<PriceFormat> f;
    const char* want;
  };
  const Case cases[] = {
      {3245.5, 2, std::nullopt, "3245.50"},
      {3245.5, 1, PriceFormat{std::nullopt, "$", "", true}, "$3,245.5"},
      {-1234567.891, 2, PriceFormat{1, "", " USD", true}, "-1,234,567.9 USD"},
      {999.5, 2, PriceFormat{0, "", "", true}, "1,000"},
      {100, 2, PriceFormat{0, "", "", true}, "100"},
      {-0.004, 2, PriceFormat{2, "$", "", true}, "$0.00"},  // no sign on a zero
      {0.123456789012, 2, PriceFormat{10, "", "", false}, "0.1234567890"},
      {1e21, 0, PriceFormat{0, "", "", true}, "1,000,000,000,000,000,000,000"},
      {NAN, 2, PriceFormat{2, "€", "", true}, "€NaN"},
  };
  for (const Case& c : cases) {
    std::string out;
    append_price_as(out, c.v, c.own, c.f ? &*c.f : nullptr);
    EXPECT_EQ(out, c.want) << c.v;
  }
}

}  // namespace
}  // namespace qc::coords
