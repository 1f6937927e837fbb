// Theme JSON reader: one record procedure for the document and its six groups, in object or array form,
// driven by each record's field walk.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "core/theme/json_cursor.hpp"
#include "core/theme/theme.hpp"

namespace qc::theme {
namespace {

// The record's type name, as the failure messages give it ("struct RuntimeSizing").
template <class Record>
constexpr std::string_view record_name = {};
#define QC_THEME_RECORD_NAME(type) \
  template <>                      \
  constexpr std::string_view record_name<type> = #type;
QC_THEME_RECORD_NAME(RuntimeTheme)
QC_THEME_RECORD_NAME(RuntimeUIColors)
QC_THEME_RECORD_NAME(RuntimeChartColors)
QC_THEME_RECORD_NAME(RuntimeSeriesColors)
QC_THEME_RECORD_NAME(RuntimeFonts)
QC_THEME_RECORD_NAME(RuntimeSizing)
QC_THEME_RECORD_NAME(RuntimeEffects)
#undef QC_THEME_RECORD_NAME

template <class T>
constexpr bool is_optional = false;
template <class T>
constexpr bool is_optional<std::optional<T>> = true;

template <class T>
concept Record = requires { T::for_each_field([](std::string_view, auto) {}); };

// The keys of a record in field order, and which of them may be missing (the optional texts).
template <Record R>
struct Layout {
  static constexpr std::size_t size = field_count<R>();
  static_assert(size <= 32, "field sets are 32-bit words");
  std::array<std::string_view, size> keys{};
  std::uint32_t required = 0;

  constexpr Layout() {
    std::size_t i = 0;
    R::for_each_field([&](std::string_view key, auto member) {
      using T = std::remove_cvref_t<decltype(std::declval<R&>().*member)>;
      if (!is_optional<T>) required |= std::uint32_t{1} << i;
      keys[i++] = key;
    });
  }

  constexpr std::size_t index_of(std::string_view key) const {
    return static_cast<std::size_t>(std::find(keys.begin(), keys.end(), key) - keys.begin());
  }
};

template <Record R>
constexpr Layout<R> layout{};

// Records entered at once; a theme document uses two levels.
constexpr int nesting_budget = 128;

double to_f64(const JsonNumber& n) {
  switch (n.kind) {
    case JsonNumber::Kind::unsigned_integer: return static_cast<double>(n.u);
    case JsonNumber::Kind::negative_integer: return static_cast<double>(n.i);
    case JsonNumber::Kind::floating: break;
  }
  return n.f;
}

// Nearest 32-bit float, with infinity of the same sign beyond the largest finite one; integers are
// rounded once, straight from their 64-bit value.
float to_f32(const JsonNumber& n) {
  switch (n.kind) {
    case JsonNumber::Kind::unsigned_integer: return static_cast<float>(n.u);
    case JsonNumber::Kind::negative_integer: return static_cast<float>(n.i);
    case JsonNumber::Kind::floating: break;
  }
  constexpr float largest = std::numeric_limits<float>::max();
  constexpr float infinity = std::numeric_limits<float>::infinity();
  constexpr double halfway_to_overflow = 0x1.ffffffp127;  // largest + half its last-place unit
  const bool negative = std::signbit(n.f);
  if (std::fabs(n.f) >= halfway_to_overflow) return negative ? -infinity : infinity;
  if (std::fabs(n.f) > largest) return negative ? -largest : largest;
  return static_cast<float>(n.f);
}

class ThemeReader {
 public:
  explicit ThemeReader(std::string_view text) : cursor_(text) {}

  bool document(RuntimeTheme& out) {
    if (cursor_.peek() == JsonCursor::end) return cursor_.syntax_error("EOF while parsing a value");
    if (!record(out)) return false;
    if (cursor_.peek() != JsonCursor::end) return cursor_.syntax_error("trailing characters");
    return true;
  }

  const std::string& error() const { return cursor_.error(); }

 private:
  template <Record R>
  bool record(R& out) {
    const int c = cursor_.peek();
    if (c != '{' && c != '[') return cursor_.invalid_type(expectation<R>());
    if (--budget_ == 0) return cursor_.syntax_error("nesting limit exceeded");
    cursor_.advance();
    const bool ok = c == '{' ? object(out) : array(out);
    ++budget_;
    return ok;
  }

  template <Record R>
  static std::string expectation() {
    return "struct " + std::string(record_name<R>);
  }

  // Reads the value of field `index`; false when it does not fit the field's type.
  template <Record R>
  bool field_at(R& out, std::size_t index) {
    std::size_t i = 0;
    bool ok = true;
    R::for_each_field([&](std::string_view, auto member) {
      if (i++ == index) ok = value(out.*member);
    });
    return ok;
  }

  template <Record R>
  bool object(R& out) {
    constexpr const Layout<R>& fields = layout<R>;
    std::uint32_t seen = 0;
    int c = cursor_.peek();
    while (c != '}') {
      if (c != '"') return cursor_.syntax_error("expected a key string");
      if (!cursor_.read_string(key_)) return false;
      if (cursor_.peek() != ':') return cursor_.syntax_error("expected ':'");
      cursor_.advance();
      const std::size_t index = fields.index_of(key_);
      if (index == fields.size) {
        if (!cursor_.skip_value()) return false;
      } else {
        const std::uint32_t bit = std::uint32_t{1} << index;
        if (seen & bit) return cursor_.fail("duplicate field `" + key_ + "`");
        seen |= bit;
        if (!field_at(out, index)) return false;
      }
      c = cursor_.peek();
      if (c == ',') {
        cursor_.advance();
        c = cursor_.peek();
        if (c == '}') return cursor_.syntax_error("trailing comma");
      } else if (c != '}') {
        return cursor_.syntax_error("expected ',' or '}'");
      }
    }
    cursor_.advance();
    // Optional texts never given stay absent; any other field never given fails, the first in key order.
    if (const std::uint32_t missing = fields.required & ~seen) {
      return cursor_.fail("missing field `" + std::string(fields.keys[std::countr_zero(missing)]) + "`");
    }
    return true;
  }

  template <Record R>
  bool array(R& out) {
    std::size_t i = 0;
    bool ok = true;
    R::for_each_field([&](std::string_view, auto member) {
      if (!ok) return;
      const int c = cursor_.peek();
      if (c == ']') {
        ok = cursor_.fail("invalid length " + std::to_string(i) + ", expected " + expectation<R>() + " with " +
                          std::to_string(layout<R>.size) + " elements");
        return;
      }
      if (i > 0) {
        if (c != ',') {
          ok = cursor_.syntax_error("expected ',' or ']'");
          return;
        }
        cursor_.advance();
      }
      ok = value(out.*member);
      ++i;
    });
    if (!ok) return false;
    const int c = cursor_.peek();
    if (c == ']') {
      cursor_.advance();
      return true;
    }
    return cursor_.syntax_error(c == ',' ? "trailing comma or element after the last" : "expected ']'");
  }

  bool value(std::string& out) {
    if (cursor_.peek() != '"') return cursor_.invalid_type("a string");
    return cursor_.read_string(out);
  }

  bool value(std::optional<std::string>& out) {
    if (cursor_.peek() == 'n') {
      out.reset();
      return cursor_.read_null();
    }
    return value(out.emplace());
  }

  bool value(double& out) {
    JsonNumber n;
    if (!number(n, "f64")) return false;
    out = to_f64(n);
    return true;
  }

  bool value(float& out) {
    JsonNumber n;
    if (!number(n, "f32")) return false;
    out = to_f32(n);
    return true;
  }

  bool value(std::uint16_t& out) {
    JsonNumber n;
    if (!number(n, "u16")) return false;
    if (n.kind == JsonNumber::Kind::floating) return cursor_.fail("invalid type: " + describe(n) + ", expected u16");
    if (n.kind == JsonNumber::Kind::negative_integer || n.u > std::numeric_limits<std::uint16_t>::max()) {
      return cursor_.fail("invalid value: " + describe(n) + ", expected u16");
    }
    out = static_cast<std::uint16_t>(n.u);
    return true;
  }

  template <Record R>
  bool value(R& out) {
    return record(out);
  }

  bool number(JsonNumber& n, std::string_view expected) {
    const int c = cursor_.peek();
    if (c != '-' && !(c >= '0' && c <= '9')) return cursor_.invalid_type(expected);
    return cursor_.read_number(n);
  }

  JsonCursor cursor_;
  int budget_ = nesting_budget;
  std::string key_;  // decoded key of the member being read, reused across members
};

}  // namespace

std::optional<RuntimeTheme> RuntimeTheme::from_json(std::string_view text, std::string* error) {
  ThemeReader reader(text);
  RuntimeTheme theme;
  if (reader.document(theme)) return theme;
  if (error) *error = reader.error();
  return std::nullopt;
}

}  // namespace qc::theme
