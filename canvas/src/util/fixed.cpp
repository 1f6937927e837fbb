// Fixed-point writers: an integer fast path, exact std::to_chars where floating point cannot decide.
#include "util/fixed.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace qc::util {
namespace {

constexpr double kPow10[] = {1.0, 10.0, 100.0, 1000.0, 10000.0, 100000.0};
constexpr std::uint64_t kPow10Int[] = {1, 10, 100, 1000, 10000, 100000};

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

char* write_non_finite(char* out, double v) {
  const char* text = std::isnan(v) ? "NaN" : (v < 0 ? "-inf" : "inf");
  const std::size_t n = std::strlen(text);
  std::memcpy(out, text, n);
  return out + n;
}

// Writes the P lowest decimal digits of r (r < 10^P), zero-padded.
template <int P>
char* write_fraction(char* out, std::uint64_t r) {
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

template <int P>
char* write_fast(char* out, double v) {
  constexpr double scale = kPow10[P];
  // Keeps the scaled value below 2^50, where halves are exact and the product's error is below 1/8.
  constexpr double limit = 1e15 / scale;
  const double a = std::fabs(v);
  if (!(a < limit)) return write_fixed_exact(out, v, P);
  const double s = a * scale;  // correctly rounded: within half an ulp (<= s * 2^-53) of the exact product
  const auto whole = static_cast<std::uint64_t>(s);
  const double above_half = (s - static_cast<double>(whole)) - 0.5;  // both steps exact
  // When the rounding boundary lies within the product's error, only exact arithmetic can tell.
  if (std::fabs(above_half) <= s * 0x1p-52) return write_fixed_exact(out, v, P);
  const std::uint64_t k = whole + (above_half > 0 ? 1 : 0);
  if (std::signbit(v)) *out++ = '-';
  out = std::to_chars(out, out + 20, k / kPow10Int[P]).ptr;
  if constexpr (P > 0) {
    *out++ = '.';
    out = write_fraction<P>(out, k % kPow10Int[P]);
  }
  return out;
}

}  // namespace

char* write_fixed_exact(char* out, double v, int decimals) {
  if (!std::isfinite(v)) return write_non_finite(out, v);
  return std::to_chars(out, out + kMaxFixedChars, v, std::chars_format::fixed, decimals).ptr;
}

char* write_fixed0(char* out, double v) { return write_fast<0>(out, v); }
char* write_fixed1(char* out, double v) { return write_fast<1>(out, v); }
char* write_fixed2(char* out, double v) { return write_fast<2>(out, v); }
char* write_fixed4(char* out, double v) { return write_fast<4>(out, v); }

char* write_fixed(char* out, double v, int decimals) {
  switch (decimals) {
    case 0: return write_fast<0>(out, v);
    case 1: return write_fast<1>(out, v);
    case 2: return write_fast<2>(out, v);
    case 3: return write_fast<3>(out, v);
    case 4: return write_fast<4>(out, v);
    default: return decimals < 0 ? write_fast<0>(out, v) : write_fast<5>(out, v);
  }
}

namespace {
template <class Writer>
void append_with(std::string& out, Writer write) {
  char buf[kMaxFixedChars];
  out.append(buf, write(buf));
}
}  // namespace

void append_fixed0(std::string& out, double v) { append_with(out, [v](char* p) { return write_fixed0(p, v); }); }
void append_fixed1(std::string& out, double v) { append_with(out, [v](char* p) { return write_fixed1(p, v); }); }
void append_fixed2(std::string& out, double v) { append_with(out, [v](char* p) { return write_fixed2(p, v); }); }
void append_fixed4(std::string& out, double v) { append_with(out, [v](char* p) { return write_fixed4(p, v); }); }
void append_fixed(std::string& out, double v, int decimals) {
  append_with(out, [v, decimals](char* p) { return write_fixed(p, v, decimals); });
}

}  // namespace qc::util
