// Fixed-point number writers (0 to 10 decimals) rounded from the exact binary value, ties to even.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace qc::util {

// The most decimals the writers take.
inline constexpr int kMaxFixedDecimals = 10;

// Room a caller must provide for one fixed-point text of a double: sign, 309 integer digits, point and
// the most decimals.
inline constexpr std::size_t kMaxFixedChars = 1 + 309 + 1 + kMaxFixedDecimals;

// The slow exact reference: std::to_chars(v, fixed, decimals), with "NaN", "inf" and "-inf" for the
// non-finite values.
char* write_fixed_exact(char* out, double v, int decimals);

namespace detail {

inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline constexpr std::uint64_t kPow10[] = {1,         10,         100,         1000,         10000,      100000,
                                           1000000,   10000000,   100000000,   1000000000,   10000000000};
static_assert(std::size(kPow10) == kMaxFixedDecimals + 1);

// Decimal digits of q, written forward without leading zeros.
inline char* write_unsigned(char* out, std::uint64_t q) {
  int n = 1;
  for (std::uint64_t t = 10; n < 20 && q >= t; t *= 10) ++n;
  char* p = out + n;
  while (q >= 100) {
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * (q % 100), 2);
    q /= 100;
  }
  if (q >= 10) {
    std::memcpy(p - 2, kDigitPairs + 2 * q, 2);
  } else {
    p[-1] = static_cast<char>('0' + q);
  }
  return out + n;
}

// The P lowest decimal digits of r (r < 10^P), zero-padded.
template <int P>
inline char* write_fraction(char* out, std::uint64_t r) {
  if constexpr (P % 2 == 1) {
    out[P - 1] = static_cast<char>('0' + r % 10);
    r /= 10;
  }
  for (int i = P / 2; i-- > 0;) {
    std::memcpy(out + 2 * i, kDigitPairs + 2 * (r % 100), 2);
    r /= 100;
  }
  return out + P;
}

// Scales |v| by 10^P in floating point and rounds the product to an integer. The product is correctly
// rounded, so it lies within half an ulp (at most product * 2^-53) of the exact one; when the nearest
// rounding boundary (a half) is farther away than that, both round alike. Closer, and for values whose
// product reaches 2^50, the exact writer decides. (Below 2^50 every half is itself a double and rounding
// is monotone, so the product can land on a half but never cross one: the window is margin, and only a
// product exactly on a half truly needs the exact writer.)
template <int P>
inline char* write_fixed_fast(char* out, double v) {
  constexpr double scale = static_cast<double>(kPow10[P]);
  constexpr double limit = 1e15 / scale;
  const double a = std::fabs(v);
  if (!(a < limit)) return write_fixed_exact(out, v, P);
  const double s = a * scale;
  const auto whole = static_cast<std::int64_t>(s);
  const double above_half = (s - static_cast<double>(whole)) - 0.5;  // both subtractions are exact
  if (std::fabs(above_half) <= s * 0x1p-52) return write_fixed_exact(out, v, P);
  const auto k = static_cast<std::uint64_t>(whole) + (above_half > 0 ? 1 : 0);
  *out = '-';
  out += std::signbit(v) ? 1 : 0;

  // The 32-bit digit path holds 10^4 units of 10^-P, which fit 32 bits up to five decimals.
  if constexpr (P <= 5) {
    constexpr std::uint32_t unit = static_cast<std::uint32_t>(kPow10[P]);
    if (std::endian::native == std::endian::little && k < 10000 * kPow10[P]) {
      // Chart coordinates, in 32-bit arithmetic: four digit characters in one register, shifted past the
      // leading zeros and stored at once (bytes beyond the last digit fall within the caller's room and are
      // overwritten next). No branch depends on the number of digits, and no load waits on narrower stores.
      const auto k32 = static_cast<std::uint32_t>(k);
      const std::uint32_t q = k32 / unit;
      std::uint16_t high, low;
      std::memcpy(&high, kDigitPairs + 2 * (q / 100), 2);
      std::memcpy(&low, kDigitPairs + 2 * (q % 100), 2);
      const unsigned n = 1 + (q >= 10) + (q >= 100) + (q >= 1000);
      const std::uint32_t digits = (static_cast<std::uint32_t>(high) | static_cast<std::uint32_t>(low) << 16) >>
                                   (8 * (4 - n));
      std::memcpy(out, &digits, 4);
      out += n;
      if constexpr (P > 0) {
        *out = '.';
        return write_fraction<P>(out + 1, k32 % unit);
      }
      return out;
    }
  }
  out = write_unsigned(out, k / kPow10[P]);
  if constexpr (P > 0) {
    *out = '.';
    return write_fraction<P>(out + 1, k % kPow10[P]);
  }
  return out;
}

}  // namespace detail

// Writes v with exactly N decimals at out and returns the end. The digits are those of
// std::to_chars(v, fixed, N): the exact binary value rounded to nearest, ties to even. Negative zero keeps
// its sign ("-0.00"); non-finite values are written "NaN", "inf" and "-inf". Needs kMaxFixedChars bytes.
inline char* write_fixed0(char* out, double v) { return detail::write_fixed_fast<0>(out, v); }
inline char* write_fixed1(char* out, double v) { return detail::write_fixed_fast<1>(out, v); }
inline char* write_fixed2(char* out, double v) { return detail::write_fixed_fast<2>(out, v); }
inline char* write_fixed4(char* out, double v) { return detail::write_fixed_fast<4>(out, v); }
// The same for a number of decimals chosen at run time (0 to 10; others are clamped into that range).
char* write_fixed(char* out, double v, int decimals);

void append_fixed0(std::string& out, double v);
void append_fixed1(std::string& out, double v);
void append_fixed2(std::string& out, double v);
void append_fixed4(std::string& out, double v);
void append_fixed(std::string& out, double v, int decimals);
// Whether a fixed-point text, its sign left aside, reads zero.
bool fixed_reads_zero(const char* begin, const char* end);

// The same, except that a value which rounds to zero is written without a sign ("0.00", never "-0.00"), so a
// signed number reads "-" only when its digits say it is below zero.
void append_fixed_signed(std::string& out, double v, int decimals);
// The same with "," between each three digits of the whole part, when `grouped`: "-1,234,567.50".
void append_fixed_signed(std::string& out, double v, int decimals, bool grouped);

}  // namespace qc::util
