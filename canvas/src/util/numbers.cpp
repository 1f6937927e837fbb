// Shortest round-trip number texts on std::to_chars.
#include "util/numbers.hpp"

#include <charconv>
#include <cmath>

namespace qc::util {
namespace {

template <class F>
void append_shortest_impl(std::string& out, F v, std::chars_format format = std::chars_format::general) {
  if (std::isnan(v)) {
    out += "NaN";
    return;
  }
  if (std::isinf(v)) {
    out += v < 0 ? "-inf" : "inf";
    return;
  }
  // Fixed notation of the widest doubles: up to 309 integer digits, or 324 fraction digits.
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, v, format);
  out.append(buf, res.ptr);
}

// Lays out the shortest digits of v (from to_chars' scientific form) as fixed or exponent notation.
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
  char buf[48];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  const char* p = buf;
  if (*p == '-') {
    out += '-';
    ++p;
  }
  char digits[24];
  int n = 0;
  for (; p < res.ptr && *p != 'e'; ++p) {
    if (*p != '.') digits[n++] = *p;
  }
  int exp = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exp);
  if (exp < min_exp || exp > max_exp) {
    out += digits[0];
    if (n > 1) {
      out += '.';
      out.append(digits + 1, static_cast<std::size_t>(n - 1));
    }
    out += 'e';
    out += exp < 0 ? '-' : '+';
    char ebuf[8];
    auto er = std::to_chars(ebuf, ebuf + sizeof ebuf, exp < 0 ? -exp : exp);
    out.append(ebuf, er.ptr);
    return;
  }
  if (n <= exp + 1) {
    out.append(digits, static_cast<std::size_t>(n));
    out.append(static_cast<std::size_t>(exp + 1 - n), '0');
    out += ".0";
  } else if (exp >= 0) {
    out.append(digits, static_cast<std::size_t>(exp + 1));
    out += '.';
    out.append(digits + exp + 1, static_cast<std::size_t>(n - exp - 1));
  } else {
    out += "0.";
    out.append(static_cast<std::size_t>(-exp - 1), '0');
    out.append(digits, static_cast<std::size_t>(n));
  }
}

}  // namespace

void append_json_number(std::string& out, double v) { append_json_impl(out, v, -5, 15); }
void append_json_number(std::string& out, float v) { append_json_impl(out, v, -6, 12); }

void append_shortest(std::string& out, double v) { append_shortest_impl(out, v); }
void append_shortest(std::string& out, float v) { append_shortest_impl(out, v); }

void append_shortest_fixed(std::string& out, double v) {
  append_shortest_impl(out, v, std::chars_format::fixed);
}

std::string shortest(double v) {
  std::string s;
  append_shortest(s, v);
  return s;
}

}  // namespace qc::util
