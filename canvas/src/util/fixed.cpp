// The exact fixed-point writer and the run-time dispatch over the fast paths.
#include "util/fixed.hpp"

#include <algorithm>
#include <charconv>
#include <utility>

namespace qc::util {

char* write_fixed_exact(char* out, double v, int decimals) {
  if (std::isnan(v)) return static_cast<char*>(std::memcpy(out, "NaN", 3)) + 3;
  if (std::isinf(v)) {
    if (v < 0) *out++ = '-';
    return static_cast<char*>(std::memcpy(out, "inf", 3)) + 3;
  }
  return std::to_chars(out, out + kMaxFixedChars, v, std::chars_format::fixed, decimals).ptr;
}

namespace {
template <int... P>
char* write_fixed_dispatch(char* out, double v, int decimals, std::integer_sequence<int, P...>) {
  char* end = nullptr;
  (void)((decimals == P && ((end = detail::write_fixed_fast<P>(out, v)), true)) || ...);
  return end;
}
}  // namespace

char* write_fixed(char* out, double v, int decimals) {
  return write_fixed_dispatch(out, v, std::clamp(decimals, 0, kMaxFixedDecimals),
                              std::make_integer_sequence<int, kMaxFixedDecimals + 1>());
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

bool fixed_reads_zero(const char* begin, const char* end) {
  return std::all_of(begin + (begin != end && *begin == '-' ? 1 : 0), end, [](char c) { return c == '0' || c == '.'; });
}

void append_fixed_signed(std::string& out, double v, int decimals) { append_fixed_signed(out, v, decimals, false); }

void append_fixed_signed(std::string& out, double v, int decimals, bool grouped) {
  char buf[kMaxFixedChars];
  const char* end = write_fixed(buf, v, decimals);
  const char* begin = buf;
  if (*begin == '-' && fixed_reads_zero(begin, end)) ++begin;
  if (!grouped) {
    out.append(begin, end);
    return;
  }
  const char* digits = begin + (*begin == '-' ? 1 : 0);
  const char* whole_end = std::find_if(digits, end, [](char c) { return c < '0' || c > '9'; });
  out.append(begin, digits);
  for (const char* p = digits; p < whole_end; ++p) {
    if (p != digits && (whole_end - p) % 3 == 0) out += ',';
    out += *p;
  }
  out.append(whole_end, end);
}

}  // namespace qc::util
