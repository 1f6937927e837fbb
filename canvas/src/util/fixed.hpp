// Fixed-point number writers (0 to 5 decimals) rounded from the exact binary value, ties to even.
#pragma once

#include <cstddef>
#include <string>

namespace qc::util {

// Room a caller must provide for one fixed-point text of a double with at most five decimals:
// sign, 309 integer digits, point and five decimals, rounded up.
inline constexpr std::size_t kMaxFixedChars = 320;

// Writes v with exactly `decimals` decimals (0 to 5; others are clamped into that range) at out and returns the end. The digits are those of
// std::to_chars(v, fixed, decimals): the exact binary value rounded to nearest, ties to even. Negative
// zero keeps its sign ("-0.00"); non-finite values are written "NaN", "inf" and "-inf".
// The fixed-decimal forms take an integer fast path and fall back to std::to_chars only for huge values
// and for products that lie too close to a rounding tie to decide in floating point.
char* write_fixed0(char* out, double v);
char* write_fixed1(char* out, double v);
char* write_fixed2(char* out, double v);
char* write_fixed4(char* out, double v);
char* write_fixed(char* out, double v, int decimals);

// The slow exact reference: std::to_chars(v, fixed, decimals) with the non-finite spellings above.
char* write_fixed_exact(char* out, double v, int decimals);

void append_fixed0(std::string& out, double v);
void append_fixed1(std::string& out, double v);
void append_fixed2(std::string& out, double v);
void append_fixed4(std::string& out, double v);
void append_fixed(std::string& out, double v, int decimals);

}  // namespace qc::util
