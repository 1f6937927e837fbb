// Theme JSON writer: one pass over the record into one growing text, compact or indented.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/theme/theme.hpp"
#include "util/json_string.hpp"
#include "util/numbers.hpp"

namespace qc::theme {
namespace {

// Enough for every preset; a theme with longer texts grows the buffer once or twice.
constexpr std::size_t expected_size = 4096;

class DocumentWriter {
 public:
  DocumentWriter(std::string& out, bool pretty) : out_(out), pretty_(pretty) {}

  template <class Record>
  void record(const Record& r) {
    out_ += '{';
    ++level_;
    first_ = true;
    Record::for_each_field([&](std::string_view key, auto member) { this->member(key, r.*member); });
    --level_;
    if (pretty_ && !first_) new_line();
    out_ += '}';
    first_ = false;
  }

 private:
  template <class T>
  void member(std::string_view key, const T& v) {
    begin_member(key);
    value(v);
  }

  // An absent optional text leaves no trace: no key, no value, no separator.
  void member(std::string_view key, const std::optional<std::string>& v) {
    if (v) member(key, *v);
  }

  void begin_member(std::string_view key) {
    if (!first_) out_ += ',';
    first_ = false;
    if (pretty_) new_line();
    util::append_json_string(out_, key);
    out_ += pretty_ ? ": " : ":";
  }

  void new_line() {
    out_ += '\n';
    out_.append(2 * static_cast<std::size_t>(level_), ' ');
  }

  void value(const std::string& text) { util::append_json_string(out_, text); }
  void value(float v) { util::append_json_number(out_, v); }
  void value(double v) { util::append_json_number(out_, v); }
  void value(std::uint16_t v) {
    char buf[8];
    out_.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
  }
  template <class Group>
  void value(const Group& group) {
    record(group);
  }

  std::string& out_;
  const bool pretty_;
  int level_ = 0;
  bool first_ = true;  // no member written yet in the innermost open object
};

std::string write(const RuntimeTheme& theme, bool pretty) {
  std::string out;
  out.reserve(expected_size);
  DocumentWriter(out, pretty).record(theme);
  return out;
}

}  // namespace

std::string RuntimeTheme::to_json() const { return write(*this, false); }
std::string RuntimeTheme::to_json_pretty() const { return write(*this, true); }

}  // namespace qc::theme
