// Decimals of the prices and price differences that tool captions write, so small prices keep their digits.
#pragma once

#include <string>

namespace qc::primitives::catalog {

// A price's decimals, by its level m = |price|: 2 when m >= 1, m is 0 or m is not finite; below 1 the
// fewest d of 4 to 10 with m >= 10^(3 - d) (0.5 gives 4, 0.0003 gives 7), and 10 for levels under 1e-7.
int price_decimals(double price) noexcept;

// The decimals of a difference between two prices: the same rule at the larger level, max(|price1|,
// |price2|), a NaN price leaving the other's.
int change_decimals(double price1, double price2) noexcept;

// Appends the price with price_decimals(price) decimals ("101.50", "0.0003010").
void append_caption_price(std::string& out, double price);

}  // namespace qc::primitives::catalog
