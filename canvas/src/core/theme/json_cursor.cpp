// Strict JSON pull reader: whitespace, strings with escapes and UTF-8 checks, number kinds, literals and
// the iterative skipping of values.
#include "core/theme/json_cursor.hpp"

#include <charconv>
#include <limits>
#include <system_error>
#include <vector>

#include "util/json_string.hpp"
#include "util/numbers.hpp"
#include "util/parse_double.hpp"

namespace qc::theme {
namespace {

constexpr bool is_digit(int c) { return c >= '0' && c <= '9'; }

// Length of the well-formed UTF-8 sequence at the start of `s` (no overlong forms, no surrogates, nothing
// above U+10FFFF), or 0.
std::size_t utf8_sequence_length(std::string_view s) {
  const auto byte = [&](std::size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0u; };
  const unsigned b0 = byte(0);
  const auto cont = [&](std::size_t i, unsigned lo = 0x80, unsigned hi = 0xbf) {
    return byte(i) >= lo && byte(i) <= hi;
  };
  if (b0 < 0x80) return 1;
  if (b0 >= 0xc2 && b0 <= 0xdf) return cont(1) ? 2 : 0;
  if (b0 >= 0xe0 && b0 <= 0xef) {
    const bool second = b0 == 0xe0 ? cont(1, 0xa0) : b0 == 0xed ? cont(1, 0x80, 0x9f) : cont(1);
    return second && cont(2) ? 3 : 0;
  }
  if (b0 >= 0xf0 && b0 <= 0xf4) {
    const bool second = b0 == 0xf0 ? cont(1, 0x90) : b0 == 0xf4 ? cont(1, 0x80, 0x8f) : cont(1);
    return second && cont(2) && cont(3) ? 4 : 0;
  }
  return 0;
}

void append_utf8(std::string& out, std::uint32_t cp) {
  const auto put = [&](std::uint32_t v) { out += static_cast<char>(v); };
  if (cp < 0x80) {
    put(cp);
  } else if (cp < 0x800) {
    put(0xc0 | cp >> 6);
    put(0x80 | (cp & 0x3f));
  } else if (cp < 0x10000) {
    put(0xe0 | cp >> 12);
    put(0x80 | (cp >> 6 & 0x3f));
    put(0x80 | (cp & 0x3f));
  } else {
    put(0xf0 | cp >> 18);
    put(0x80 | (cp >> 12 & 0x3f));
    put(0x80 | (cp >> 6 & 0x3f));
    put(0x80 | (cp & 0x3f));
  }
}

}  // namespace

std::string describe(const JsonNumber& n) {
  std::string s;
  switch (n.kind) {
    case JsonNumber::Kind::unsigned_integer: s = "integer `" + std::to_string(n.u); break;
    case JsonNumber::Kind::negative_integer: s = "integer `" + std::to_string(n.i); break;
    case JsonNumber::Kind::floating:
      s = "floating point `";
      util::append_json_number(s, n.f);
      break;
  }
  return s += '`';
}

int JsonCursor::peek() noexcept {
  for (; pos_ < text_.size(); ++pos_) {
    const char c = text_[pos_];
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return static_cast<unsigned char>(c);
  }
  return end;
}

bool JsonCursor::fail(std::string message) {
  error_ = std::move(message);
  return false;
}

bool JsonCursor::syntax_error(std::string_view what) {
  std::string message(what);
  message += pos_ < text_.size() ? " at byte " + std::to_string(pos_) : " at the end of the text";
  return fail(std::move(message));
}

bool JsonCursor::invalid_type(std::string_view expected) {
  std::string found;
  switch (peek()) {
    case end: return syntax_error("EOF while parsing a value");
    case '{': found = "map"; break;
    case '[': found = "sequence"; break;
    case 'n':
      if (!read_null()) return false;
      found = "null";
      break;
    case 't':
    case 'f': {
      const bool value = text_[pos_] == 't';
      if (!literal(value ? "true" : "false")) return false;
      found = value ? "boolean `true`" : "boolean `false`";
      break;
    }
    case '"': {
      std::string text;
      if (!read_string(text)) return false;
      found = "string ";
      util::append_json_string(found, text);
      break;
    }
    default: {
      JsonNumber n;
      if (!read_number(n)) return false;
      found = describe(n);
    }
  }
  return fail("invalid type: " + found + ", expected " + std::string(expected));
}

bool JsonCursor::read_string(std::string& out) {
  out.clear();
  return scan_string<true>(&out);
}

std::optional<std::string_view> JsonCursor::verbatim_string() const noexcept {
  const std::string_view rest = text_.substr(pos_ + 1);
  const std::size_t close = rest.find('"');
  if (close == std::string_view::npos) return std::nullopt;
  return rest.substr(0, close);
}

template <bool Keep>
bool JsonCursor::scan_string(std::string* out) {
  ++pos_;  // the opening quotation mark
  std::size_t run = pos_;  // start of the bytes not yet copied
  const auto flush = [&] {
    if constexpr (Keep) out->append(text_, run, pos_ - run);
  };
  while (pos_ < text_.size()) {
    const auto c = static_cast<unsigned char>(text_[pos_]);
    if (c == '"') {
      flush();
      ++pos_;
      return true;
    }
    if (c == '\\') {
      flush();
      if (!read_escape(Keep ? out : nullptr)) return false;
      run = pos_;
    } else if (c < 0x20) {
      return syntax_error("control character in a string");
    } else if (c < 0x80) {
      ++pos_;
    } else {
      const std::size_t n = utf8_sequence_length(text_.substr(pos_));
      if (n == 0) return syntax_error("invalid UTF-8 in a string");
      pos_ += n;
    }
  }
  return syntax_error("EOF while parsing a string");
}

bool JsonCursor::read_escape(std::string* out) {
  ++pos_;  // the backslash
  if (pos_ >= text_.size()) return syntax_error("EOF while parsing a string");
  const char c = text_[pos_++];
  char plain = 0;
  switch (c) {
    case '"': plain = '"'; break;
    case '\\': plain = '\\'; break;
    case '/': plain = '/'; break;
    case 'b': plain = '\b'; break;
    case 'f': plain = '\f'; break;
    case 'n': plain = '\n'; break;
    case 'r': plain = '\r'; break;
    case 't': plain = '\t'; break;
    case 'u': break;
    default: --pos_; return syntax_error("invalid escape");
  }
  if (plain) {
    if (out) *out += plain;
    return true;
  }
  std::uint32_t cp = 0;
  if (!scan_hex4(cp)) return false;
  if (cp >= 0xdc00 && cp <= 0xdfff) return syntax_error("lone trailing surrogate in a \\u escape");
  if (cp >= 0xd800 && cp <= 0xdbff) {
    if (text_.substr(pos_, 2) != "\\u") return syntax_error("lone leading surrogate in a \\u escape");
    pos_ += 2;
    std::uint32_t low = 0;
    if (!scan_hex4(low)) return false;
    if (low < 0xdc00 || low > 0xdfff) return syntax_error("lone leading surrogate in a \\u escape");
    cp = 0x10000 + ((cp - 0xd800) << 10) + (low - 0xdc00);
  }
  if (out) append_utf8(*out, cp);
  return true;
}

bool JsonCursor::scan_hex4(std::uint32_t& out) {
  if (text_.size() - pos_ < 4) return syntax_error("EOF while parsing a \\u escape");
  out = 0;
  for (int k = 0; k < 4; ++k) {
    const char c = text_[pos_];
    std::uint32_t digit;
    if (is_digit(c)) {
      digit = static_cast<std::uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<std::uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<std::uint32_t>(c - 'A' + 10);
    } else {
      return syntax_error("invalid \\u escape");
    }
    out = out << 4 | digit;
    ++pos_;
  }
  return true;
}

bool JsonCursor::read_number(JsonNumber& out) { return scan_number(&out); }

// Checks the grammar -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)? and, when `out` is given, converts.
bool JsonCursor::scan_number(JsonNumber* out) {
  const std::size_t start = pos_;
  const auto at_digit = [&] { return pos_ < text_.size() && is_digit(text_[pos_]); };
  const bool negative = pos_ < text_.size() && text_[pos_] == '-';
  if (negative) ++pos_;
  if (!at_digit()) return syntax_error(negative ? "invalid number" : "expected value");

  // Integer part, accumulated while it fits 64 bits; `leading` is the decimal exponent of the first
  // significant digit before the exponent part, which tells overflow from underflow.
  std::uint64_t magnitude = 0;
  bool fits = true;
  long long leading = 0;
  const bool zero_integer = text_[pos_] == '0';
  if (zero_integer) {
    ++pos_;
  } else {
    const std::size_t digits = pos_;
    for (; at_digit(); ++pos_) {
      const auto d = static_cast<std::uint64_t>(text_[pos_] - '0');
      fits = fits && magnitude <= (std::numeric_limits<std::uint64_t>::max() - d) / 10;
      if (fits) magnitude = magnitude * 10 + d;
    }
    leading = static_cast<long long>(pos_ - digits) - 1;
  }
  bool integral = true;
  if (pos_ < text_.size() && text_[pos_] == '.') {
    ++pos_;
    integral = false;
    if (!at_digit()) return syntax_error("invalid number");
    const std::size_t fraction = pos_;
    for (; at_digit(); ++pos_) {
      if (zero_integer && leading == 0 && text_[pos_] != '0') leading = -static_cast<long long>(pos_ - fraction + 1);
    }
  }
  long long exponent = 0;
  if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
    ++pos_;
    integral = false;
    bool exponent_negative = false;
    if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) exponent_negative = text_[pos_++] == '-';
    if (!at_digit()) return syntax_error("invalid number");
    for (; at_digit(); ++pos_) {
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (text_[pos_] - '0');
    }
    if (exponent_negative) exponent = -exponent;
  }
  if (!out) return true;

  constexpr std::uint64_t min_magnitude = std::uint64_t{1} << 63;
  if (integral && fits && !negative) {
    *out = {.kind = JsonNumber::Kind::unsigned_integer, .u = magnitude};
    return true;
  }
  if (integral && fits && magnitude != 0 && magnitude <= min_magnitude) {
    const std::int64_t value =
        magnitude == min_magnitude ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(magnitude);
    *out = {.kind = JsonNumber::Kind::negative_integer, .i = value};
    return true;
  }
  double value = 0;
  const auto res = util::parse_double(text_.data() + start, text_.data() + pos_, value);
  if (res.ec == std::errc::result_out_of_range) {
    // Below the smallest subnormal the nearest value is zero; above the largest finite double there is none.
    if (leading + exponent > 0) return syntax_error("number out of range");
    value = negative ? -0.0 : 0.0;
  } else if (res.ec != std::errc() || res.ptr != text_.data() + pos_) {
    return syntax_error("invalid number");
  }
  *out = {.kind = JsonNumber::Kind::floating, .f = value};
  return true;
}

bool JsonCursor::literal(std::string_view word) {
  if (text_.substr(pos_, word.size()) != word) return syntax_error("expected value");
  pos_ += word.size();
  return true;
}

bool JsonCursor::read_null() { return literal("null"); }

bool JsonCursor::read_bool(bool& out) {
  out = peek() == 't';
  return literal(out ? "true" : "false");
}

bool JsonCursor::skip_key() {
  if (peek() != '"') return syntax_error("expected a key string");
  if (!scan_string<false>(nullptr)) return false;
  if (peek() != ':') return syntax_error("expected ':'");
  advance();
  return true;
}

bool JsonCursor::skip_value() {
  std::vector<bool> open;  // the brackets still open, innermost last: true for an object
  for (;;) {
    switch (peek()) {
      case '{':
        advance();
        if (peek() == '}') {
          advance();
          break;
        }
        open.push_back(true);
        if (!skip_key()) return false;
        continue;
      case '[':
        advance();
        if (peek() == ']') {
          advance();
          break;
        }
        open.push_back(false);
        continue;
      case '"':
        if (!scan_string<false>(nullptr)) return false;
        break;
      case 't':
        if (!literal("true")) return false;
        break;
      case 'f':
        if (!literal("false")) return false;
        break;
      case 'n':
        if (!read_null()) return false;
        break;
      case end: return syntax_error("EOF while parsing a value");
      default:
        if (!scan_number(nullptr)) return false;
    }
    // A value is complete: close every bracket that ends here, then go on to the next value, if any.
    for (;;) {
      if (open.empty()) return true;
      const int c = peek();
      const bool object = open.back();
      if (c == ',') {
        advance();
        if (object && !skip_key()) return false;
        break;
      }
      if (c != (object ? '}' : ']')) return syntax_error(object ? "expected ',' or '}'" : "expected ',' or ']'");
      advance();
      open.pop_back();
    }
  }
}

}  // namespace qc::theme
