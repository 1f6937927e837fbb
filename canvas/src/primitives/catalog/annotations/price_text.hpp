// Texts of the price labels: the font text of a pixel size and a price with two decimals.
#pragma once

#include <string>

namespace qc::primitives::catalog {

// "<whole pixels>px sans-serif": the size truncated toward zero, held to 32 bits, 0 when not a number.
std::string sans_serif_font(double font_size);

// Appends the price with exactly two decimals ("101.50"; "NaN", "inf" when not finite).
void append_price(std::string& out, double price);

}  // namespace qc::primitives::catalog
