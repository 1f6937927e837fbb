// Shortest round-trip number texts on std::to_chars.
#include "util/numbers.hpp"

#include <charconv>
#include <cmath>

namespace qc::util {
namespace {

// Writes "NaN", "inf" or "-inf" for a value that is not finite; false for a finite one.
template <class F>
bool append_non_finite(std::string& out, F v) {
  if (std::isnan(v)) {
    out += "NaN";
  } else if (std::isinf(v)) {
    out += v < 0 ? "-inf" : "inf";
  } else {
    return false;
  }
  return true;
}

template <class F>
void append_shortest_impl(std::string& out, F v) {
  if (append_non_finite(out, v)) return;
  char buf[48];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, res.ptr);
}

// The shortest round-trip digits of a finite, non-zero v (from to_chars' scientific form) and the
// decimal exponent of the first digit: 1234.5 gives "12345" and 3.
struct Digits {
  bool negative = false;
  char digits[24];
  int count = 0;
  int exponent = 0;
};

template <class F>
Digits shortest_digits(F v) {
  char buf[48];
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  Digits d;
  const char* p = buf;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  for (; p < res.ptr && *p != 'e'; ++p) {
    if (*p != '.') d.digits[d.count++] = *p;
  }
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, d.exponent);
  return d;
}

// The digits in fixed notation: whole numbers padded with zeros (then `whole_suffix`), fractions
// below one after "0." and their leading zeros.
void append_fixed_digits(std::string& out, const Digits& d, std::string_view whole_suffix) {
  const auto count = static_cast<std::size_t>(d.count);
  if (d.count <= d.exponent + 1) {
    out.append(d.digits, count);
    out.append(static_cast<std::size_t>(d.exponent + 1 - d.count), '0');
    out += whole_suffix;
  } else if (d.exponent >= 0) {
    const auto whole = static_cast<std::size_t>(d.exponent + 1);
    out.append(d.digits, whole);
    out += '.';
    out.append(d.digits + whole, count - whole);
  } else {
    out += "0.";
    out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    out.append(d.digits, count);
  }
}

// Lays out the shortest digits of v as fixed or exponent notation.
template <class F>
void append_json_impl(std::string& out, F v, int min_exp, int max_exp) {
  if (!std::isfinite(v)) {
    out += "null";
    return;
  }
  if (v == 0) {
    out += std::signbit(v) ? "-0.0" : "0.0";
    return;
  }
  const Digits d = shortest_digits(v);
  if (d.negative) out += '-';
  if (d.exponent < min_exp || d.exponent > max_exp) {
    out += d.digits[0];
    if (d.count > 1) {
      out += '.';
      out.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
    }
    out += 'e';
    out += d.exponent < 0 ? '-' : '+';
    char ebuf[8];
    const auto er = std::to_chars(ebuf, ebuf + sizeof ebuf, d.exponent < 0 ? -d.exponent : d.exponent);
    out.append(ebuf, er.ptr);
    return;
  }
  append_fixed_digits(out, d, ".0");
}

}  // namespace

void append_json_number(std::string& out, double v) { append_json_impl(out, v, -5, 15); }
void append_json_number(std::string& out, float v) { append_json_impl(out, v, -6, 12); }

void append_shortest(std::string& out, double v) { append_shortest_impl(out, v); }
void append_shortest(std::string& out, float v) { append_shortest_impl(out, v); }

// Shortest digits never in exponent form. std::to_chars' own fixed form is not that: it picks the
// fewest characters and, among equals, the exact value, so 1e23 would read "99999999999999991611392"
// and 3e25 "30000000000000000570425344".
void append_shortest_fixed(std::string& out, double v) {
  if (append_non_finite(out, v)) return;
  if (v == 0) {
    out += std::signbit(v) ? "-0" : "0";
  } else {
    const Digits d = shortest_digits(v);
    if (d.negative) out += '-';
    append_fixed_digits(out, d, {});
  }
}

std::string shortest(double v) {
  std::string s;
  append_shortest(s, v);
  return s;
}

}  // namespace qc::util
