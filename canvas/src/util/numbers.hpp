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

// Shortest text that reads back as the same double, never in exponent form ("2", "0.1",
// "1000000000000000000000", "-0"); non-finite values as above.
void append_shortest_fixed(std::string& out, double v);

// JSON number: shortest digits at the value's own width; "null" for NaN and infinities; fixed notation
// with ".0" on whole numbers while the decimal exponent lies in [-5, 15] (double) or [-6, 12] (float),
// exponent notation with an explicit sign ("1e+16", "1e-6") outside.
void append_json_number(std::string& out, double v);
void append_json_number(std::string& out, float v);

}  // namespace qc::util
