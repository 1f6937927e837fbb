// Number-to-text writers shared by the SVG, JSON and id/name formatters.
#pragma once

#include <string>
#include <string_view>

namespace qc::util {

// Shortest text that reads back as the same double ("2", "0.5", "1e+300"), as std::to_chars gives it.
// Non-finite values are written as "NaN", "inf" and "-inf".
void append_shortest(std::string& out, double v);
void append_shortest(std::string& out, float v);
std::string shortest(double v);

}  // namespace qc::util
