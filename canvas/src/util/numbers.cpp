// Shortest round-trip number texts on std::to_chars.
#include "util/numbers.hpp"

#include <charconv>
#include <cmath>

namespace qc::util {
namespace {

template <class F>
void append_shortest_impl(std::string& out, F v) {
  if (std::isnan(v)) {
    out += "NaN";
    return;
  }
  if (std::isinf(v)) {
    out += v < 0 ? "-inf" : "inf";
    return;
  }
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, res.ptr);
}

}  // namespace

void append_shortest(std::string& out, double v) { append_shortest_impl(out, v); }
void append_shortest(std::string& out, float v) { append_shortest_impl(out, v); }

std::string shortest(double v) {
  std::string s;
  append_shortest(s, v);
  return s;
}

}  // namespace qc::util
