// Strict single-pass JSON pull reader (RFC 8259) under the theme reader: tokens are read where the caller
// asks for them, nothing is built that the caller does not keep, and the first failure is kept as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qc::theme {

// A JSON number in the kind its text gives it.
struct JsonNumber {
  enum class Kind : std::uint8_t {
    unsigned_integer,  // no sign, fraction or exponent; fits 64 bits unsigned
    negative_integer,  // minus sign, no fraction or exponent, not zero; fits 64 bits signed
    floating,          // everything else: a fraction, an exponent, minus zero, or too long an integer
  };
  Kind kind = Kind::unsigned_integer;
  std::uint64_t u = 0;
  std::int64_t i = 0;
  double f = 0;
};

// "integer `12`" or "floating point `0.5`", as the failure messages describe a number.
std::string describe(const JsonNumber& n);

class JsonCursor {
 public:
  static constexpr int end = -1;

  explicit JsonCursor(std::string_view text) noexcept : text_(text) {}

  // The next byte after whitespace (space, tab, line feed, carriage return only), not consumed; `end`
  // when the text is exhausted.
  int peek() noexcept;
  // Consumes the byte that peek() returned.
  void advance() noexcept { ++pos_; }

  // At a quotation mark: the string with its escapes decoded replaces the content of `out`.
  bool read_string(std::string& out);
  // At a minus sign or digit: the number and its kind.
  bool read_number(JsonNumber& out);
  // At a quotation mark: the bytes up to the next quotation mark as they stand, escapes not decoded and nothing
  // checked, for a reader that checks them itself; nullopt when no quotation mark follows. Nothing is consumed.
  std::optional<std::string_view> verbatim_string() const noexcept;
  // Consumes the string whose verbatim_string() the caller took.
  void skip_verbatim(std::string_view verbatim) noexcept { pos_ += verbatim.size() + 2; }
  // At the letter n: the literal null.
  bool read_null();
  // At the letter t or f: the literal true or false.
  bool read_bool(bool& out);
  // One value of any kind, checked and dropped. Nesting costs one bit per open bracket and no recursion,
  // so the depth of a skipped value is limited only by memory.
  bool skip_value();

  // Failure with exactly this message; returns false.
  bool fail(std::string message);
  // Failure of the JSON syntax at the current byte; returns false.
  bool syntax_error(std::string_view what);
  // Failure naming the value that stands next: "invalid type: <what it is>, expected <expected>".
  bool invalid_type(std::string_view expected);

  const std::string& error() const noexcept { return error_; }

 private:
  template <bool Keep>
  bool scan_string(std::string* out);
  bool read_escape(std::string* out);
  bool scan_hex4(std::uint32_t& out);
  bool scan_number(JsonNumber* out);
  bool literal(std::string_view word);
  bool skip_key();

  std::string_view text_;
  std::size_t pos_ = 0;
  std::string error_;
};

}  // namespace qc::theme
