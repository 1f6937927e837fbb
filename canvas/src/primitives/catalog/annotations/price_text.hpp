// The font text of the price labels' words.
#pragma once

#include <string>

namespace qc::primitives::catalog {

// "<whole pixels>px sans-serif": the size truncated toward zero, held to 32 bits, 0 when not a number.
std::string sans_serif_font(double font_size);

}  // namespace qc::primitives::catalog
