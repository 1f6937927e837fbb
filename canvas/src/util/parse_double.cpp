// The library's own reader where it has one; otherwise strtod held to from_chars's rules.
#include "util/parse_double.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace qc::util {

#if defined(_LIBCPP_VERSION) && _LIBCPP_VERSION < 170000

std::from_chars_result parse_double(const char* first, const char* last, double& value) {
  const char* p = first;
  if (p != last && *p == '-') ++p;
  const auto is = [&](char a) { return p != last && (*p | 0x20) == a; };
  const bool digit = p != last && ((*p >= '0' && *p <= '9') || *p == '.');
  if (!digit && !is('i') && !is('n')) return {first, std::errc::invalid_argument};
  std::string text(first, last);
  // strtod would read "0x1p3" as hexadecimal, where from_chars stops after the zero.
  if (const std::size_t at = static_cast<std::size_t>(p - first); text.compare(at, 2, "0x") == 0 ||
                                                                     text.compare(at, 2, "0X") == 0) {
    text.resize(at + 1);
  }
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str()) return {first, std::errc::invalid_argument};
  const char* stop = first + (end - text.c_str());
  // strtod flags inexact subnormal results too; from_chars only results it cannot give.
  if (errno == ERANGE && (v == 0.0 || std::isinf(v))) return {stop, std::errc::result_out_of_range};
  value = v;
  return {stop, std::errc()};
}

#else

std::from_chars_result parse_double(const char* first, const char* last, double& value) {
  return std::from_chars(first, last, value);
}

#endif

}  // namespace qc::util
