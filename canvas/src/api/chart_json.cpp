// The chart's JSON form: one table of keys per record drives both the writer and the reader, so that a key
// is added to the form by adding its row.
#include "api/chart_json.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <type_traits>
#include <utility>
#include <variant>

#include "api/box_chart.hpp"
#include "api/indicator_builders.hpp"
#include "api/indicator_catalog.hpp"
#include "api/series_names.hpp"
#include "api/user_series.hpp"
#include "api/value_rules.hpp"
#include "core/theme/json_cursor.hpp"
#include "primitives/registry/registry.hpp"
#include "util/base64.hpp"
#include "util/base64_text.hpp"
#include "util/json_string.hpp"
#include "util/numbers.hpp"

namespace qc::api {
namespace {

using theme::JsonCursor;
using theme::JsonNumber;

class Writer;
class Reader;

// A box style's boxes as the text holds them: the derived bars, each box's last bar among the user's bars,
// and whether the box was asked for as None.
struct BoxesRecord {
  model::BarColumns bars;
  std::vector<std::uint64_t> last_bar;
  bool atr = false;
  // Written from: the chart's own columns, in place.
  const model::BarColumns* chart_bars = nullptr;
  std::span<const std::size_t> chart_last_bar;
};

// How a record follows bars appended and updated, as the text holds it: the call of the study that computes it
// again (its method and arguments), and the bars the caller's values were given for.
struct StudyCallRecord {
  std::string method;
  std::vector<CallArg> args;
};
struct LiveEntry {
  std::optional<StudyCallRecord> study;
  std::optional<std::uint64_t> given;
};

class Describer;

// A row's describer. The page's core reads and writes the form but never documents it: there the rows hold
// none, so that the key table's code stays out of its WebAssembly.
#if defined(__wasm__)
#define QC_DESCRIBER(...) nullptr
#else
#define QC_DESCRIBER(...) __VA_ARGS__
#endif

// One key of a record: its name, and how its value is written, read and described.
template <class T>
struct Field {
  std::string_view key;
  void (*write)(Writer&, const T&);
  bool (*read)(Reader&, T&);
  void (*describe)(Describer&);
  bool since_saved = false;  // a key newer than charts already saved: missing, the member keeps its default
};

// A record's keys in the order they are written: `static constexpr std::array<Field<T>, N> fields`.
template <class T>
struct Schema;
template <class T>
concept HasSchema = requires { Schema<T>::fields; };

// An enumeration's values by name: `static constexpr std::array<std::pair<E, std::string_view>, N> table`.
template <class E>
struct Names;
template <class E>
concept Named = requires { Names<E>::table; };

// A variant is written {"<kind>": {...}}: `static constexpr std::array<std::string_view, N> keys`, in the
// variant's order; each alternative has a schema.
template <class V>
struct Kinds;
template <class V>
concept HasKinds = requires { Kinds<V>::keys; };

// Element types written as base64 columns of their little-endian bytes.
template <class T>
concept ColumnItem = std::same_as<T, double> || std::same_as<T, std::int64_t> || std::same_as<T, std::uint64_t> ||
                     std::same_as<T, std::uint32_t> || std::same_as<T, std::uint8_t>;

template <class T>
void to_little_endian(std::span<T> items) {
  if constexpr (std::endian::native == std::endian::big && sizeof(T) > 1) {
    for (T& v : items) {
      auto bytes = std::bit_cast<std::array<std::byte, sizeof(T)>>(v);
      std::reverse(bytes.begin(), bytes.end());
      v = std::bit_cast<T>(bytes);
    }
  }
}

std::string_view non_finite_name(double v) { return std::isnan(v) ? "NaN" : v > 0 ? "Infinity" : "-Infinity"; }

template <class E>
std::string_view name_of(E e) {
  for (const auto& [value, name] : Names<E>::table) {
    if (value == e) return name;
  }
  return Names<E>::table[0].second;  // not reached for a value the builders set
}

// Names as a message or the key table lists them after "one of": " a, b, c", each in quotes when `quoted`.
template <class Names, class Name>
std::string listed(const Names& names, Name name, bool quoted = false) {
  std::string out;
  for (const auto& item : names) {
    out += out.empty() ? " " : ", ";
    if (quoted) out += '"';
    out += name(item);
    if (quoted) out += '"';
  }
  return out;
}
constexpr auto kItself = [](std::string_view name) { return name; };
constexpr auto kSecond = [](const auto& pair) { return pair.second; };

// Columns are borrowed, not encoded, as they are written (the text encodes them into its final home), so
// every column written must outlive the text: the chart's own, never a temporary's.
class Writer {
 public:
  explicit Writer(util::Base64Text& text) : text_(text), out_(text.plain()) {}

  // Non-finite numbers as the strings "NaN", "Infinity" and "-Infinity", which JSON numbers cannot spell.
  void value(double v) {
    if (std::isfinite(v)) return util::append_json_number(out_, v);
    util::append_json_string(out_, non_finite_name(v));
  }
  void value(bool v) { out_ += v ? "true" : "false"; }
  template <std::integral I>
    requires(!std::same_as<I, bool>)
  void value(I v) {
    char buffer[24];
    const auto res = std::to_chars(buffer, buffer + sizeof buffer, v);
    out_.append(buffer, res.ptr);
  }
  void value(std::string_view s) { util::append_json_string(out_, s); }
  void value(const std::string& s) { value(std::string_view(s)); }
  template <class T>
  void value(const std::optional<T>& v) {
    if (v) return value(*v);
    out_ += "null";
  }
  template <Named E>
  void value(E e) {
    value(name_of(e));
  }
  void value(const primitives::Point& p) {
    out_ += '[';
    value(p.bar);
    out_ += ',';
    value(p.price);
    out_ += ']';
  }
  void value(const PrimitivePane& pane) {
    if (pane.is_main) return value(std::string_view("main"));
    value(pane.sub_pane);
  }
  void value(const CallArg& arg) {
    std::visit([&](const auto& v) { value(v); }, arg);
  }
  template <ColumnItem T, class A>
  void value(const std::vector<T, A>& items) {
    column(std::span<const T>(items));
  }
  template <class T, class A>
  void value(const std::vector<T, A>& items) {
    out_ += '[';
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i > 0) out_ += ',';
      value(items[i]);
    }
    out_ += ']';
  }
  template <HasSchema T>
  void value(const T& record) {
    out_ += '{';
    bool first = true;
    for (const Field<T>& f : Schema<T>::fields) {
      if (!first) out_ += ',';
      first = false;
      value(f.key);
      out_ += ':';
      f.write(*this, record);
    }
    out_ += '}';
  }
  template <HasKinds V>
  void value(const V& v) {
    out_ += '{';
    value(Kinds<V>::keys[v.index()]);
    out_ += ':';
    std::visit([&](const auto& alternative) { value(alternative); }, v);
    out_ += '}';
  }

  // Indices as 64-bit columns, whatever the width of std::size_t.
  void column(std::span<const std::size_t> items) { wide_column(items); }
  // A template, so that the branch not taken for this target's std::size_t is never compiled.
  template <std::unsigned_integral Index>
  void wide_column(std::span<const Index> items) {
    if constexpr (std::same_as<Index, std::uint64_t>) {
      column<std::uint64_t>(items);
    } else {
      std::vector<std::uint64_t> wide(items.begin(), items.end());
      kept_column(std::span<std::uint64_t>(wide));
    }
  }
  template <ColumnItem T>
  void column(std::span<const T> items) {
    if constexpr (std::endian::native == std::endian::little || sizeof(T) == 1) {
      out_ += '"';
      text_.borrow(std::as_bytes(items));
      out_ += '"';
    } else {
      std::vector<T> swapped(items.begin(), items.end());
      kept_column(std::span<T>(swapped));
    }
  }

 private:
  // A column made for the text, kept by it.
  template <ColumnItem T>
  void kept_column(std::span<T> items) {
    to_little_endian(items);
    out_ += '"';
    text_.keep(std::as_bytes(items));
    out_ += '"';
  }

  util::Base64Text& text_;
  std::string& out_;
};

class Reader {
 public:
  explicit Reader(std::string_view text) : cursor_(text) {}

  // Defined after the rows, which it reads.
  bool document(Chart& out);
  bool place_boxes(Chart& out);
  bool place_live(Chart& out);
  bool call_args(const IndicatorSpec& row, std::vector<CallArg>& args);
  bool box_settings(const model::BoxSettings& b, model::BarsView bars);

  const std::string& error() const { return error_; }

  // The failure, after the path of the value being read.
  bool fail(std::string_view message) {
    error_ = path_;
    if (!error_.empty()) error_ += ": ";
    error_ += message;
    return false;
  }

  bool value(double& out) {
    const int c = cursor_.peek();
    if (c == '"') {
      if (!cursor_.read_string(scratch_)) return cursor_failed();
      for (const double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity()}) {
        if (scratch_ == non_finite_name(v)) {
          out = v;
          return true;
        }
      }
      std::string found = "invalid value: string ";
      util::append_json_string(found, scratch_);
      return fail(found + ", expected a number, \"NaN\", \"Infinity\" or \"-Infinity\"");
    }
    if (c != '-' && (c < '0' || c > '9')) return invalid_type("a number");
    JsonNumber n;
    if (!cursor_.read_number(n)) return cursor_failed();
    switch (n.kind) {
      case JsonNumber::Kind::unsigned_integer: out = static_cast<double>(n.u); break;
      case JsonNumber::Kind::negative_integer: out = static_cast<double>(n.i); break;
      case JsonNumber::Kind::floating: out = n.f; break;
    }
    return true;
  }
  bool value(bool& out) {
    const int c = cursor_.peek();
    if (c != 't' && c != 'f') return invalid_type("a boolean");
    return cursor_.read_bool(out) || cursor_failed();
  }
  template <std::integral I>
    requires(!std::same_as<I, bool>)
  bool value(I& out) {
    const int c = cursor_.peek();
    if (c != '-' && (c < '0' || c > '9')) return invalid_type("an integer");
    JsonNumber n;
    if (!cursor_.read_number(n)) return cursor_failed();
    constexpr auto lo = std::numeric_limits<I>::min();
    constexpr auto hi = std::numeric_limits<I>::max();
    // A whole number written with a fraction or an exponent (400.0, 4e2) is the integer it equals, as the
    // builders take it; only where doubles are exact integers, so that no longer integer rounds into range.
    // hi + 1 is a power of two, so the bound is exact as a double.
    constexpr double kExact = 0x1p53;
    const bool whole = n.kind == JsonNumber::Kind::floating && std::trunc(n.f) == n.f && std::fabs(n.f) <= kExact &&
                       n.f >= static_cast<double>(lo) && n.f < static_cast<double>(hi / 2 + 1) * 2.0;
    const bool fits = (n.kind == JsonNumber::Kind::unsigned_integer && n.u <= static_cast<std::uint64_t>(hi)) ||
                      (n.kind == JsonNumber::Kind::negative_integer && std::is_signed_v<I> &&
                       n.i >= static_cast<std::int64_t>(lo)) ||
                      whole;
    if (!fits) {
      return fail("invalid value: " + theme::describe(n) + ", expected an integer from " + std::to_string(lo) +
                  " to " + std::to_string(hi));
    }
    if (whole) {
      out = static_cast<I>(n.f);
    } else {
      out = n.kind == JsonNumber::Kind::unsigned_integer ? static_cast<I>(n.u) : static_cast<I>(n.i);
    }
    return true;
  }
  bool value(std::string& out) {
    if (cursor_.peek() != '"') return invalid_type("a string");
    return cursor_.read_string(out) || cursor_failed();
  }
  template <class T>
  bool value(std::optional<T>& out) {
    if (cursor_.peek() == 'n') {
      out.reset();
      return cursor_.read_null() || cursor_failed();
    }
    return value(out.emplace());
  }
  template <Named E>
  bool value(E& out) {
    if (cursor_.peek() != '"') return invalid_type("a string");
    if (!cursor_.read_string(scratch_)) return cursor_failed();
    for (const auto& [e, name] : Names<E>::table) {
      if (scratch_ == name) {
        out = e;
        return true;
      }
    }
    std::string message = "invalid value: string ";
    util::append_json_string(message, scratch_);
    message += ", expected one of";
    message += listed(Names<E>::table, kSecond);
    return fail(message);
  }
  bool value(primitives::Point& out) {
    std::size_t count = 0;
    return sequence("a sequence of 2 numbers", [&]() {
             if (count == 2) return fail("more than 2 numbers");
             return value(count++ == 0 ? out.bar : out.price);
           }) &&
           (count == 2 || fail("invalid length " + std::to_string(count) + ", expected 2 numbers"));
  }
  bool value(PrimitivePane& out) {
    if (cursor_.peek() != '"') {
      out.is_main = false;
      return value(out.sub_pane);
    }
    if (!cursor_.read_string(scratch_)) return cursor_failed();
    if (scratch_ != "main") return fail("invalid value: expected \"main\" or a sub-pane's number");
    out = PrimitivePane::main();
    return true;
  }
  // A study's argument as the text gives it; held to its row's kind once the row is known.
  bool value(CallArg& out) {
    if (cursor_.peek() == '"') return value(out.emplace<std::string>());
    const int c = cursor_.peek();
    if (c != '-' && (c < '0' || c > '9')) return invalid_type("a number or a string");
    JsonNumber n;
    if (!cursor_.read_number(n)) return cursor_failed();
    switch (n.kind) {
      case JsonNumber::Kind::unsigned_integer: out = n.u; break;
      case JsonNumber::Kind::negative_integer: out = static_cast<double>(n.i); break;
      case JsonNumber::Kind::floating: out = n.f; break;
    }
    return true;
  }
  template <ColumnItem T, class A>
  bool value(std::vector<T, A>& out) {
    if (cursor_.peek() != '"') return invalid_type("a base64 string");
    // A column decodes from the text in place; only text that is not plain base64 (escapes, or a fault to
    // name) is read as a string first, which gives the same bytes where both succeed.
    if (const std::optional<std::string_view> verbatim = cursor_.verbatim_string()) {
      if (decode_column(*verbatim, out)) {
        cursor_.skip_verbatim(*verbatim);
        return true;
      }
    }
    if (!cursor_.read_string(scratch_)) return cursor_failed();
    const std::optional<std::size_t> size = util::base64_size(scratch_);
    if (!size) return fail("not base64 text");
    if (*size % sizeof(T) != 0) {
      return fail(std::to_string(*size) + " bytes, not a whole number of " + std::to_string(sizeof(T)) +
                  "-byte values");
    }
    return decode_column(scratch_, out) || fail("not base64 text");
  }
  template <class T, class A>
  bool value(std::vector<T, A>& out) {
    out.clear();
    return sequence("a sequence", [&]() {
      const std::size_t mark = path_.size();
      path_ += '[';
      path_ += std::to_string(out.size());
      path_ += ']';
      if (!value(out.emplace_back())) return false;
      path_.resize(mark);
      return true;
    });
  }
  template <HasSchema T>
  bool value(T& out) {
    constexpr auto& fields = Schema<T>::fields;
    static_assert(fields.size() <= 64, "a record's keys are bits of one word");
    std::uint64_t seen = 0;
    const auto each_key = [&](std::string_view key) {
      const auto at = std::find_if(fields.begin(), fields.end(), [&](const Field<T>& f) { return f.key == key; });
      if (at == fields.end()) return fail("unknown key");
      const std::uint64_t bit = std::uint64_t{1} << (at - fields.begin());
      if ((seen & bit) != 0) return fail("repeated key");
      seen |= bit;
      return at->read(*this, out);
    };
    if (!object(each_key)) return false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if ((seen >> i & 1) == 0 && !fields[i].since_saved) {
        enter(fields[i].key);
        return fail("missing key");
      }
    }
    if constexpr (requires { Schema<T>::check(*this, out); }) return Schema<T>::check(*this, out);
    return true;
  }
  template <HasKinds V>
  bool value(V& out) {
    constexpr auto& keys = Kinds<V>::keys;
    bool given = false;
    const auto each_key = [&](std::string_view key) {
      const auto at = std::find(keys.begin(), keys.end(), key);
      if (at == keys.end()) return fail("unknown key");
      if (given) return fail("a second kind: a value has one");
      given = true;
      return alternative(out, static_cast<std::size_t>(at - keys.begin()), std::make_index_sequence<keys.size()>());
    };
    if (!object(each_key)) return false;
    if (!given) {
      std::string message = "no kind given, expected one key of";
      message += listed(keys, kItself);
      return fail(message);
    }
    return true;
  }

  // The boxes' columns, whose count is their own; kept until the document is read, then checked against the
  // series and the user's bars.
  bool boxes(std::optional<BoxesRecord>& out) {
    const bool ok = value(out);
    if (ok) boxes_ = std::move(out);
    return ok;
  }
  // How the records follow bars; kept until the document is read, then checked against the records. The
  // page's core grows no chart: it passes over them, so that neither their reading nor the studies weigh on
  // its WebAssembly.
#if defined(__wasm__)
  bool live() { return cursor_.skip_value() || cursor_failed(); }
#else
  bool live() { return value(live_.emplace()); }
#endif

  // The failure of a value inside the one being read, at `relative` below the path ("vectors[0].values").
  bool fail_at(std::string_view relative, std::string_view message) {
    if (!path_.empty() && relative.front() != '[') path_ += '.';
    path_ += relative;
    return fail(message);
  }

  // The chart as read so far: its records in text order, the bars before the studies, tools and signals.
  const Chart& chart() const { return *chart_; }

 private:
  // Whether `text` is the base64 of whole values, then held by `out`.
  template <ColumnItem T, class A>
  static bool decode_column(std::string_view text, std::vector<T, A>& out) {
    const std::optional<std::size_t> size = util::base64_size(text);
    if (!size || *size % sizeof(T) != 0) return false;
    out.resize(*size / sizeof(T));
    if (!util::decode_base64(text, std::as_writable_bytes(std::span<T>(out)))) return false;
    to_little_endian(std::span<T>(out));
    return true;
  }

  bool cursor_failed() { return fail(cursor_.error()); }
  bool invalid_type(std::string_view expected) {
    cursor_.invalid_type(expected);
    return cursor_failed();
  }
  bool syntax_error(std::string_view what) {
    cursor_.syntax_error(what);
    return cursor_failed();
  }

  // A key as a name after a dot; one that is empty or holds other than letters, digits and '_' as a quoted
  // index (theme[""]), so that the path can be read back whatever the key.
  void enter(std::string_view key) {
    const bool plain = !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
      return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
    if (!plain) {
      path_ += '[';
      util::append_json_string(path_, key);
      path_ += ']';
      return;
    }
    if (!path_.empty()) path_ += '.';
    path_ += key;
  }

  // An object's members, each read by `member(key)` with the key on the path.
  template <class Member>
  bool object(Member&& member) {
    if (cursor_.peek() != '{') return invalid_type("a map");
    cursor_.advance();
    for (bool first = true;; first = false) {
      int c = cursor_.peek();
      if (c == '}') {
        cursor_.advance();
        return true;
      }
      if (!first) {
        if (c != ',') return syntax_error("expected ',' or '}'");
        cursor_.advance();
        c = cursor_.peek();
      }
      if (c != '"') return syntax_error("expected a key string");
      if (!cursor_.read_string(key_)) return cursor_failed();
      if (cursor_.peek() != ':') return syntax_error("expected ':'");
      cursor_.advance();
      const std::size_t mark = path_.size();
      enter(key_);
      if (!member(std::string_view(key_))) return false;
      path_.resize(mark);
    }
  }

  // An array's items, each read by `item()`.
  template <class Item>
  bool sequence(std::string_view expected, Item&& item) {
    if (cursor_.peek() != '[') return invalid_type(expected);
    cursor_.advance();
    for (bool first = true;; first = false) {
      if (cursor_.peek() == ']') {
        cursor_.advance();
        return true;
      }
      if (!first) {
        if (cursor_.peek() != ',') return syntax_error("expected ',' or ']'");
        cursor_.advance();
        if (cursor_.peek() == ']') return syntax_error("trailing comma");
      }
      if (!item()) return false;
    }
  }

  template <class V, std::size_t... I>
  bool alternative(V& out, std::size_t index, std::index_sequence<I...>) {
    bool ok = false;
    (void)((index == I && ((ok = value(out.template emplace<I>())), true)) || ...);
    return ok;
  }

  JsonCursor cursor_;
  std::string path_;
  std::string key_;
  std::string scratch_;
  std::string error_;
  const Chart* chart_ = nullptr;
  std::optional<BoxesRecord> boxes_;
  std::optional<std::vector<std::optional<LiveEntry>>> live_;  // none in texts saved before records followed bars
};

// The form's keys as a table of key paths and the values they hold, from the same rows the writer and the
// reader follow, so that the documentation cannot leave a key out.
class Describer {
 public:
  template <class V>
  void value();
  // What the key being described must also be (a rule of the builders').
  void note(std::string_view text) {
    rows_[key_row_].second += ", ";
    rows_[key_row_].second += text;
  }
  void leaf(std::string_view text) { rows_.emplace_back(path_, std::string(text)); }

  std::string table() const {
    std::string out = "| Key | Value |\n|---|---|\n";
    for (const auto& [path, text] : rows_) out += "| `" + path + "` | " + text + " |\n";
    return out;
  }

 private:
  template <class F>
  void at(std::string_view step, F&& f) {
    const std::size_t mark = path_.size();
    const std::size_t outer = std::exchange(key_row_, rows_.size());
    if (!path_.empty() && step.front() != '[') path_ += '.';
    path_ += step;
    f();
    path_.resize(mark);
    key_row_ = outer;
  }

  std::string path_;
  std::size_t key_row_ = 0;  // the row of the key being described
  std::vector<std::pair<std::string, std::string>> rows_;
};

template <class T>
constexpr std::string_view column_type() {
  if constexpr (std::same_as<T, double>) return "float64";
  if constexpr (std::same_as<T, std::int64_t>) return "int64";
  if constexpr (std::same_as<T, std::uint64_t>) return "uint64";
  if constexpr (std::same_as<T, std::uint32_t>) return "uint32";
  return "uint8";
}

template <class> inline constexpr bool kOptional = false;
template <class T> inline constexpr bool kOptional<std::optional<T>> = true;
template <class> inline constexpr bool kVector = false;
template <class T, class A> inline constexpr bool kVector<std::vector<T, A>> = true;
template <class V>
concept ColumnVector = kVector<V> && ColumnItem<typename V::value_type>;
template <class V>
concept ByteColumn = ColumnVector<V> && sizeof(typename V::value_type) == 1;

template <class V>
void Describer::value() {
  if constexpr (kOptional<V>) {
    const std::size_t row = rows_.size();
    value<typename V::value_type>();
    rows_[row].second.insert(0, "null or ");
  } else if constexpr (std::same_as<V, double>) {
    leaf("number");
  } else if constexpr (std::same_as<V, bool>) {
    leaf("true or false");
  } else if constexpr (std::integral<V>) {
    leaf("integer from " + std::to_string(std::numeric_limits<V>::min()) + " to " +
         std::to_string(std::numeric_limits<V>::max()));
  } else if constexpr (std::same_as<V, std::string>) {
    leaf("text");
  } else if constexpr (Named<V>) {
    leaf("one of" + listed(Names<V>::table, kSecond, true));
  } else if constexpr (std::same_as<V, primitives::Point>) {
    leaf("[bar, price]: two numbers");
  } else if constexpr (std::same_as<V, PrimitivePane>) {
    leaf("\"main\" or a sub-pane's number (0: the top one)");
  } else if constexpr (std::same_as<V, CallArg>) {
    leaf("a number or a text, as the method takes the argument in its place (\"\" for a colour left as None)");
  } else if constexpr (ByteColumn<V>) {
    leaf("base64 of bytes");
  } else if constexpr (ColumnVector<V>) {
    leaf("base64 of little-endian " + std::string(column_type<typename V::value_type>()) + " values");
  } else if constexpr (kVector<V>) {
    leaf("a list");
    at("[]", [&] { value<typename V::value_type>(); });
  } else if constexpr (HasSchema<V>) {
    if (!path_.empty()) leaf(Schema<V>::fields.empty() ? "an empty object" : "an object");
    for (const auto& f : Schema<V>::fields) {
      if (f.describe != nullptr) at(f.key, [&] { f.describe(*this); });
    }
  } else if constexpr (HasKinds<V>) {
    leaf("an object of one key, the kind:" + listed(Kinds<V>::keys, kItself));
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      (at(Kinds<V>::keys[I], [&] { value<std::variant_alternative_t<I, V>>(); }), ...);
    }(std::make_index_sequence<Kinds<V>::keys.size()>());
  } else {
    static_assert(sizeof(V) == 0, "a value the describer does not know");
  }
}

// ---- The rows: each record's keys in the order they are written.

template <auto M>
struct MemberOf;
template <class T, class V, V T::*M>
struct MemberOf<M> {
  using Record = T;
};

// A key whose value is the member as it is.
template <auto M>
constexpr Field<typename MemberOf<M>::Record> member(std::string_view key) {
  using T = typename MemberOf<M>::Record;
  return {key, [](Writer& w, const T& t) { w.value(t.*M); }, [](Reader& r, T& t) { return r.value(t.*M); },
          QC_DESCRIBER([](Describer& d) { d.value<std::remove_cvref_t<decltype(std::declval<T&>().*M)>>(); })};
}

// A member added after charts were saved without it: read when given, else left as it is made.
template <auto M>
constexpr Field<typename MemberOf<M>::Record> since_saved(std::string_view key) {
  Field<typename MemberOf<M>::Record> f = member<M>(key);
  f.since_saved = true;
  return f;
}

std::string quoted(std::string_view text) {
  std::string out;
  util::append_json_string(out, text);
  return out;
}

std::string number_text(double v) { return std::isfinite(v) ? util::shortest(v) : std::string(non_finite_name(v)); }

// The builders' rules, each over the value as the chart keeps it.
namespace rule {
bool color(Reader& r, const std::string& v) {
  return color_text(v).has_value() || r.fail("invalid value: " + quoted(v) + " is not a colour");
}
bool optional_color(Reader& r, const std::optional<std::string>& v) { return !v || color(r, *v); }
// Empty: the chart's own colour, taken when drawn.
bool color_or_empty(Reader& r, const std::string& v) { return v.empty() || color(r, v); }
bool finite(Reader& r, double v) {
  return std::isfinite(v) || r.fail("invalid value: " + number_text(v) + ", expected a finite number");
}
bool optional_finite(Reader& r, const std::optional<double>& v) { return !v || finite(r, *v); }
bool pane_height(Reader& r, double v) {
  return is_pane_height(v) || r.fail("invalid value: " + number_text(v) + ", expected a share from " +
                                     util::shortest(kLeastPaneHeight) + " to " + util::shortest(kMostPaneHeight));
}
bool series_width(Reader& r, double v) {
  return is_series_width(v) || r.fail("invalid value: " + number_text(v) + ", expected " +
                                      util::shortest(kLeastSeriesWidth) + " to " + util::shortest(kMostSeriesWidth));
}
bool level_style(Reader& r, const std::string& v) {
  if (is_level_style(v)) return true;
  return r.fail("invalid value: string " + quoted(v) + ", expected one of" + listed(kLevelStyles, kItself));
}
// A sub-pane the chart has, made by the records read before.
bool sub_pane(Reader& r, std::uint64_t j) {
  const std::size_t n = sub_pane_count(r.chart().config);
  return j < n || r.fail("invalid value: sub-pane " + std::to_string(j) + " but the chart has " + std::to_string(n) +
                         (n == 1 ? " sub-pane" : " sub-panes"));
}
bool pane(Reader& r, const PrimitivePane& p) { return p.is_main || sub_pane(r, p.sub_pane); }
bool price_decimals(Reader& r, const std::optional<std::uint32_t>& v) {
  return !v || *v <= coords::kMostPriceDecimals ||
         r.fail("invalid value: " + std::to_string(*v) + ", expected 0 to " +
                std::to_string(coords::kMostPriceDecimals));
}
bool affix(Reader& r, const std::string& v) {
  const std::optional<std::string> fault = coords::affix_fault(v);
  return !fault || r.fail("invalid value: " + quoted(v) + " " + *fault);
}
bool time_format(Reader& r, const std::optional<std::string>& v) {
  if (!v) return true;
  const auto unknown = coords::unknown_time_directive(*v);
  return !unknown || r.fail("invalid value: " + quoted(*v) + " holds the unknown directive " + quoted(*unknown));
}

// Whether two rules are one: rules over other types never are.
template <auto Rule, auto Other>
constexpr bool same() {
  if constexpr (std::is_same_v<decltype(Rule), decltype(Other)>) {
    return Rule == Other;
  } else {
    return false;
  }
}

// What a rule asks, as the key table says it.
template <auto Rule>
std::string note() {
  if constexpr (same<Rule, &color>() || same<Rule, &optional_color>()) return "a colour";
  if constexpr (same<Rule, &color_or_empty>()) return "a colour, or \"\" for the chart's own";
  if constexpr (same<Rule, &finite>() || same<Rule, &optional_finite>()) return "finite";
  if constexpr (same<Rule, &pane_height>()) {
    return util::shortest(kLeastPaneHeight) + " to " + util::shortest(kMostPaneHeight);
  }
  if constexpr (same<Rule, &series_width>()) {
    return util::shortest(kLeastSeriesWidth) + " to " + util::shortest(kMostSeriesWidth);
  }
  if constexpr (same<Rule, &level_style>()) return "one of" + listed(kLevelStyles, kItself, true);
  if constexpr (same<Rule, &sub_pane>() || same<Rule, &pane>()) return "a sub-pane made by a study before";
  if constexpr (same<Rule, &price_decimals>()) return "0 to " + std::to_string(coords::kMostPriceDecimals);
  if constexpr (same<Rule, &affix>()) {
    return "at most " + std::to_string(coords::kMostAffixChars) + " characters, no control characters";
  }
  if constexpr (same<Rule, &time_format>()) return "the directives" + listed(coords::kTimeDirectives, [](char c) {
    return std::string{'%', c};
  });
  return "";
}
}  // namespace rule

// A key whose value is the member, then held to a rule of the builders: `Rule(reader, value)` fails the
// reader where the value breaks it.
template <auto M, auto Rule>
constexpr Field<typename MemberOf<M>::Record> ruled(std::string_view key) {
  using T = typename MemberOf<M>::Record;
  return {key, [](Writer& w, const T& t) { w.value(t.*M); },
          [](Reader& r, T& t) { return r.value(t.*M) && Rule(r, t.*M); },
          QC_DESCRIBER([](Describer& d) {
            d.value<std::remove_cvref_t<decltype(std::declval<T&>().*M)>>();
            d.note(rule::note<Rule>());
          })};
}

template <class T>
struct Empty {
  static constexpr std::array<Field<T>, 0> fields{};
};

template <>
struct Names<SeriesType> {
  static constexpr const auto& table = kSeriesNames;
};
template <>
struct Names<SignalType> {
  static constexpr std::array<std::pair<SignalType, std::string_view>, 7> table{{
      {SignalType::Buy, "buy"},
      {SignalType::Sell, "sell"},
      {SignalType::TakeProfit, "take_profit"},
      {SignalType::StopLoss, "stop_loss"},
      {SignalType::Entry, "entry"},
      {SignalType::Exit, "exit"},
      {SignalType::Custom, "custom"},
  }};
};
template <>
struct Names<PriceScaleMode> {
  using M = PriceScaleMode;
  static constexpr std::array<std::pair<M, std::string_view>, 4> table{{
      {M::price, "price"},
      {M::percent, "percent"},
      {M::indexed, "indexed"},
      {M::log, "log"},
  }};
};
template <>
struct Names<Detail> {
  static constexpr std::array<std::pair<Detail, std::string_view>, 2> table{{
      {Detail::automatic, "auto"},
      {Detail::full, "full"},
  }};
};
template <>
struct Names<model::style::SlotPart> {
  using P = model::style::SlotPart;
  static constexpr std::array<std::pair<P, std::string_view>, 3> table{{
      {P::whole, "whole"},
      {P::left_half, "left_half"},
      {P::right_half, "right_half"},
  }};
};

// A box style's settings; the kind is the series type's.
template <>
struct Schema<model::BoxSettings> {
  using T = model::BoxSettings;
  static constexpr std::array fields{member<&T::size>("size"), member<&T::count>("count"),
                                     member<&T::percent>("percent")};
};
template <>
struct Schema<SeriesConfig> {
  using T = SeriesConfig;
  static constexpr std::array fields{
      member<&T::series_type>("type"), ruled<&T::color, rule::optional_color>("color"),
      ruled<&T::baseline, rule::optional_finite>("baseline"),
      Field<T>{"boxes",
               [](Writer& w, const T& s) {
                 w.value(box_kind(s.series_type) ? std::optional(s.boxes) : std::nullopt);
               },
               [](Reader& r, T& s) {
                 std::optional<model::BoxSettings> boxes;
                 if (!r.value(boxes)) return false;
                 s.boxes = boxes.value_or(model::BoxSettings{});
                 return true;
               },
               // Checked once the document is read, against the bars.
               QC_DESCRIBER([](Describer& d) {
                 d.value<std::optional<model::BoxSettings>>();
                 d.note("a box style's settings (null for the others): a size above 0 (a percent below 100) and at "
                        "or above the closes' resolution (the largest absolute close over 2^52), a count of 1 or "
                        "more where the style has one");
               })},
  };
};
template <>
struct Schema<ThemeConfig> {
  using T = ThemeConfig;
  static constexpr std::array fields{
      ruled<&T::background, rule::color>("background"), ruled<&T::grid_color, rule::color>("grid"),
      ruled<&T::up_color, rule::color>("up"),           ruled<&T::down_color, rule::color>("down"),
      ruled<&T::text_color, rule::color>("text"),       ruled<&T::border_color, rule::color>("border"),
      member<&T::show_grid>("grid_visible"),
  };
};
template <>
struct Schema<ViewRequest> {
  static constexpr std::array fields{member<&ViewRequest::first>("first"), member<&ViewRequest::last>("last")};
};

// The zone as the chart keeps it: its name, its TZif bytes and the zone read from them.
struct ZoneRecord {
  std::string name;
  std::vector<std::uint8_t> tzif;
  coords::TimeZone zone;
  // Written from: the chart's own bytes, in place.
  std::span<const std::uint8_t> chart_tzif;
};
template <>
struct Schema<ZoneRecord> {
  static constexpr std::array fields{
      member<&ZoneRecord::name>("name"),
      Field<ZoneRecord>{"tzif", [](Writer& w, const ZoneRecord& z) { w.column(z.chart_tzif); },
                        [](Reader& r, ZoneRecord& z) {
                          if (!r.value(z.tzif)) return false;
                          if (z.tzif.empty()) return true;
                          const std::string_view bytes(reinterpret_cast<const char*>(z.tzif.data()), z.tzif.size());
                          std::optional<coords::TimeZone> zone = coords::TimeZone::parse(bytes);
                          if (!zone) return r.fail("not a TZif file of version 2 or later with a readable footer");
                          z.zone = std::move(*zone);
                          return true;
                        },
                        QC_DESCRIBER([](Describer& d) { d.leaf("base64 of the zone's TZif file (\"\" for UTC)"); })},
  };
};

// A column of the bars: written from the view, read into the column.
template <auto ViewColumn, auto OwnColumn>
constexpr Field<model::BarColumns> bar_column(std::string_view key) {
  return {key, [](Writer& w, const model::BarColumns& b) { w.column(b.view().*ViewColumn); },
          [](Reader& r, model::BarColumns& b) { return r.value((b.*OwnColumn)()); },
          QC_DESCRIBER([](Describer& d) {
            d.value<std::remove_cvref_t<decltype((std::declval<model::BarColumns&>().*OwnColumn)())>>();
            d.note("one per bar");
          })};
}
template <>
struct Schema<model::BarColumns> {
  using V = model::BarsView;
  using C = model::BarColumns;
  static constexpr std::array fields{
      bar_column<&V::time, &C::time>("time"), bar_column<&V::open, &C::open>("open"),
      bar_column<&V::high, &C::high>("high"), bar_column<&V::low, &C::low>("low"),
      bar_column<&V::close, &C::close>("close"), bar_column<&V::volume, &C::volume>("volume"),
  };
  // The columns are of one length, the one most of them have (the longest of those as many): a short or long
  // column is named by its own key.
  static bool check(Reader& r, C& b) {
    const std::array<std::size_t, 6> sizes{b.time().size(), b.open().size(), b.high().size(),
                                           b.low().size(),  b.close().size(), b.volume().size()};
    std::size_t bars = 0;
    std::ptrdiff_t most = 0;
    for (const std::size_t n : sizes) {
      const std::ptrdiff_t k = std::count(sizes.begin(), sizes.end(), n);
      if (k > most || (k == most && n > bars)) {
        bars = n;
        most = k;
      }
    }
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      if (sizes[i] != bars) {
        return r.fail_at(fields[i].key, std::to_string(sizes[i]) + " values for " + std::to_string(bars) + " bars");
      }
    }
    return true;
  }
};

template <>
struct Schema<BoxesRecord> {
  using T = BoxesRecord;
  static constexpr std::array fields{
      Field<T>{"bars", [](Writer& w, const T& b) { w.value(*b.chart_bars); },
               [](Reader& r, T& b) { return r.value(b.bars); },
               QC_DESCRIBER([](Describer& d) { d.value<model::BarColumns>(); })},
      Field<T>{"last_bar", [](Writer& w, const T& b) { w.column(b.chart_last_bar); },
               [](Reader& r, T& b) { return r.value(b.last_bar); },
               QC_DESCRIBER([](Describer& d) {
                 d.value<std::vector<std::uint64_t>>();
                 d.note("each box's last bar among the bars, not before the box before it");
               })},
      member<&T::atr>("atr"),
  };
};

template <>
struct Schema<model::placement::Overlay> : Empty<model::placement::Overlay> {};
template <>
struct Schema<model::placement::VolumeBand> {
  static constexpr std::array fields{ruled<&model::placement::VolumeBand::ratio, rule::pane_height>("ratio")};
};
template <>
struct Schema<model::placement::SubPane> {
  static constexpr std::array fields{ruled<&model::placement::SubPane::ratio, rule::pane_height>("ratio")};
};
template <>
struct Schema<model::placement::Joins> {
  static constexpr std::array fields{ruled<&model::placement::Joins::sub_pane, rule::sub_pane>("sub_pane")};
};
template <>
struct Kinds<model::IndicatorPlacement> {
  static constexpr std::array<std::string_view, 4> keys{"overlay", "volume_band", "sub_pane", "joins"};
};

template <>
struct Schema<model::range::Auto> : Empty<model::range::Auto> {};
template <>
struct Schema<model::range::Fixed> {
  static constexpr std::array fields{ruled<&model::range::Fixed::min, rule::finite>("min"),
                                     ruled<&model::range::Fixed::max, rule::finite>("max")};
  static bool check(Reader& r, const model::range::Fixed& f) {
    return f.min < f.max || r.fail_at("max", "invalid value: " + number_text(f.max) + ", expected above min " +
                                                 number_text(f.min));
  }
};
template <>
struct Schema<model::range::Symmetric> : Empty<model::range::Symmetric> {};
template <>
struct Schema<model::range::Price> : Empty<model::range::Price> {};
template <>
struct Schema<model::range::FromZero> : Empty<model::range::FromZero> {};
template <>
struct Kinds<model::RangeMode> {
  static constexpr std::array<std::string_view, 5> keys{"auto", "fixed", "symmetric", "price", "from_zero"};
};

namespace style = model::style;
template <>
struct Schema<style::Line> {
  using T = style::Line;
  static constexpr std::array fields{
      ruled<&T::color, rule::color>("color"),  ruled<&T::width, rule::finite>("width"),
      member<&T::dashed>("dashed"),            member<&T::through_gaps>("through_gaps"),
      ruled<&T::up_color, rule::color_or_empty>("up_color"), ruled<&T::down_color, rule::color_or_empty>("down_color"),
      member<&T::dotted>("dotted"),            member<&T::area>("area"),
  };
};
template <>
struct Schema<style::SolidLine> {
  static constexpr std::array fields{ruled<&style::SolidLine::color, rule::color>("color"),
                                     ruled<&style::SolidLine::width, rule::finite>("width")};
};
template <>
struct Schema<style::ChartShade> {
  static constexpr std::array fields{member<&style::ChartShade::up>("up"), member<&style::ChartShade::alpha>("alpha")};
};
template <>
struct Schema<style::Histogram> {
  using T = style::Histogram;
  static constexpr std::array fields{ruled<&T::up_color, rule::color_or_empty>("up_color"),
                                     ruled<&T::down_color, rule::color_or_empty>("down_color"),
                                     ruled<&T::bar_width_ratio, rule::finite>("bar_width_ratio"),
                                     member<&T::part>("part"),
                                     member<&T::up_shade>("up_shade"),   member<&T::down_shade>("down_shade")};
};
template <>
struct Schema<style::Dots> {
  using T = style::Dots;
  static constexpr std::array fields{ruled<&T::color, rule::color>("color"), ruled<&T::radius, rule::finite>("radius"),
                                     member<&T::filled>("filled")};
};
template <>
struct Schema<style::StepLine> {
  static constexpr std::array fields{ruled<&style::StepLine::color, rule::color>("color"),
                                     ruled<&style::StepLine::width, rule::finite>("width")};
};
template <>
struct Schema<style::Cloud> {
  using T = style::Cloud;
  static constexpr std::array fields{ruled<&T::upper_color, rule::color>("upper_color"),
                                     ruled<&T::lower_color, rule::color>("lower_color"),
                                     member<&T::partner>("partner"), ruled<&T::width, rule::finite>("width"),
                                     member<&T::edged>("edged")};
};
template <>
struct Schema<style::Hidden> : Empty<style::Hidden> {};
template <>
struct Kinds<decltype(model::VectorStyle::v)> {
  static constexpr std::array<std::string_view, 7> keys{"line",      "solid_line", "histogram", "dots",
                                                        "step_line", "cloud",      "hidden"};
};

template <>
struct Schema<model::IndicatorLevel> {
  using T = model::IndicatorLevel;
  static constexpr std::array fields{
      ruled<&T::color, rule::color>("color"),   ruled<&T::style, rule::level_style>("style"),
      member<&T::label>("label"),               ruled<&T::value, rule::finite>("value"),
      ruled<&T::width, rule::series_width>("width"),
  };
};
template <>
struct Schema<model::IndicatorVector> {
  using T = model::IndicatorVector;
  static constexpr std::array fields{
      member<&T::name>("name"),
      Field<T>{"style", [](Writer& w, const T& v) { w.value(v.style.v); },
               [](Reader& r, T& v) { return r.value(v.style.v); },
               QC_DESCRIBER([](Describer& d) { d.value<decltype(model::VectorStyle::v)>(); })},
      member<&T::values>("values"),
      member<&T::up_flags>("up_flags"),
  };
};
template <>
struct Schema<model::Indicator> {
  using T = model::Indicator;
  static constexpr std::array fields{
      member<&T::id>("id"),         member<&T::name>("name"),       member<&T::placement>("placement"),
      member<&T::range>("range"),   member<&T::levels>("levels"),   member<&T::vectors>("vectors"),
      member<&T::runs>("runs"),     member<&T::runs_are_levels>("runs_are_levels"),
      member<&T::own_base>("own_base"),
  };
  // A study's vectors hold one value per bar it was computed on, its up flags and run keys as many or none.
  // Bars set again later leave the records as they were, so the count is the record's own (its first
  // vector's), not the chart's.
  static bool check(Reader& r, const T& ind) {
    if (ind.vectors.empty()) return true;
    const std::size_t n = ind.vectors[0].values.size();
    const auto as_many = [&](std::string_view at, std::size_t size, std::string_view what, bool none_allowed) {
      if (size == n || (none_allowed && size == 0)) return true;
      return r.fail_at(at, std::to_string(size) + " " + std::string(what) + " for " + std::to_string(n) + " values");
    };
    for (std::size_t i = 0; i < ind.vectors.size(); ++i) {
      const std::string at = "vectors[" + std::to_string(i) + "].";
      if (!as_many(at + "values", ind.vectors[i].values.size(), "values", false)) return false;
      if (!as_many(at + "up_flags", ind.vectors[i].up_flags.size(), "flags", true)) return false;
    }
    return as_many("runs", ind.runs.size(), "keys", true);
  }
};

template <>
struct Schema<LevelConfig> {
  static constexpr std::array fields{member<&LevelConfig::name>("name"), member<&LevelConfig::label>("label"),
                                     member<&LevelConfig::value>("value"), member<&LevelConfig::extra>("extra")};
};
template <>
struct Schema<PrimitiveConfig> {
  using T = PrimitiveConfig;
  static constexpr std::array fields{
      Field<T>{"type", [](Writer& w, const T& p) { w.value(p.type_id); },
               [](Reader& r, T& p) {
                 if (!r.value(p.type_id)) return false;
                 if (primitives::PrimitiveRegistry::global().read()->find(p.type_id) != nullptr) return true;
                 std::string message = "unknown tool type ";
                 util::append_json_string(message, p.type_id);
                 return r.fail(message);
               },
               QC_DESCRIBER([](Describer& d) { d.leaf("text: a drawing tool's type, as its method is named"); })},
      member<&T::points>("points"), ruled<&T::color, rule::color>("color"), ruled<&T::width, rule::finite>("width"),
      member<&T::text>("text"),     ruled<&T::pane, rule::pane>("pane"),    member<&T::levels>("levels"),
  };
};
template <>
struct Schema<PaneLevel> {
  static constexpr std::array fields{ruled<&PaneLevel::pane, rule::pane>("pane"), member<&PaneLevel::level>("level")};
};
template <>
struct Schema<SignalConfig> {
  using T = SignalConfig;
  static constexpr std::array fields{
      member<&T::signal_type>("type"),         member<&T::bar_index>("bar"),
      member<&T::price>("price"),              ruled<&T::size, rule::finite>("size"),
      ruled<&T::color, rule::optional_color>("color"), member<&T::label>("label"),
      since_saved<&T::off_bar>("off_bar"),
  };
};

template <>
struct Schema<coords::TimeFormat> {
  using T = coords::TimeFormat;
  static constexpr std::array fields{
      ruled<&T::year, rule::time_format>("year"), ruled<&T::month, rule::time_format>("month"),
      ruled<&T::day, rule::time_format>("day"),   ruled<&T::time, rule::time_format>("time"),
      ruled<&T::tag, rule::time_format>("tag"),
  };
};

template <>
struct Schema<coords::PriceFormat> {
  using T = coords::PriceFormat;
  static constexpr std::array fields{
      ruled<&T::decimals, rule::price_decimals>("decimals"), ruled<&T::prefix, rule::affix>("prefix"),
      ruled<&T::suffix, rule::affix>("suffix"), member<&T::thousands>("thousands"),
  };
};
template <>
struct Schema<PaneFormat> {
  static constexpr std::array fields{ruled<&PaneFormat::pane, rule::pane>("pane"),
                                     member<&PaneFormat::format>("format")};
  // One format a pane (the list being read holds this one already).
  static bool check(Reader& r, const PaneFormat& f) {
    const auto& formats = r.chart().config.price_formats;
    const auto same = std::count_if(formats.begin(), formats.end(), [&](const PaneFormat& o) { return o.pane == f.pane; });
    return same < 2 || r.fail_at("pane", "a second format for one pane");
  }
};

template <>
struct Schema<StudyCallRecord> {
  static constexpr std::array fields{member<&StudyCallRecord::method>("method"),
                                     member<&StudyCallRecord::args>("args")};
};
template <>
struct Schema<LiveEntry> {
  static constexpr std::array fields{member<&LiveEntry::study>("study"), member<&LiveEntry::given>("given")};
};

// What the text keeps of how each record follows bars: null for a record that follows none of them.
std::vector<std::optional<LiveEntry>> live_entries(const Chart& c) {
  std::vector<std::optional<LiveEntry>> entries(c.config.indicators.size());
  for (std::size_t i = 0; i < entries.size() && i < c.live.size(); ++i) {
    const LiveRecord& rec = c.live[i];
    if (!rec.study && !rec.given) continue;
    LiveEntry& e = entries[i].emplace();
    if (rec.study) e.study = StudyCallRecord{std::string(rec.study->row->method), rec.study->call};
    e.given = rec.given;
  }
  return entries;
}

// A key whose value is a member of the chart's configuration as it is.
template <auto M>
constexpr Field<Chart> config(std::string_view key) {
  return {key, [](Writer& w, const Chart& c) { w.value(c.config.*M); },
          [](Reader& r, Chart& c) { return r.value(c.config.*M); },
          QC_DESCRIBER([](Describer& d) {
            d.value<std::remove_cvref_t<decltype(std::declval<ChartConfig&>().*M)>>();
          })};
}
// The same for a member added after charts were saved without it.
template <auto M>
constexpr Field<Chart> config_since_saved(std::string_view key) {
  Field<Chart> f = config<M>(key);
  f.since_saved = true;
  return f;
}

// The document: its form and version first, then the chart.
template <>
struct Schema<Chart> {
  using T = Chart;
  static constexpr std::array fields{
      Field<T>{"format", [](Writer& w, const T&) { w.value(kChartJsonFormat); },
               [](Reader& r, T&) {
                 std::string format;
                 if (!r.value(format)) return false;
                 return format == kChartJsonFormat || r.fail("not a chart: expected \"quorvel-chart\"");
               },
               QC_DESCRIBER([](Describer& d) { d.leaf("\"quorvel-chart\""); })},
      Field<T>{"version", [](Writer& w, const T&) { w.value(kChartJsonVersion); },
               [](Reader& r, T&) {
                 std::uint64_t version = 0;
                 if (!r.value(version)) return false;
                 return version == kChartJsonVersion ||
                        r.fail("version " + std::to_string(version) + " is not read by this release (it reads 1)");
               },
               QC_DESCRIBER([](Describer& d) { d.leaf(std::to_string(kChartJsonVersion)); })},
      config<&ChartConfig::width>("width"),
      config<&ChartConfig::height>("height"),
      config<&ChartConfig::dpr>("dpr"),
      config<&ChartConfig::title>("title"),
      config<&ChartConfig::show_legend>("legend"),
      config<&ChartConfig::price_scale>("price_scale"),
      config<&ChartConfig::detail>("detail"),
      config<&ChartConfig::show_last_price>("last_price"),
      config<&ChartConfig::series>("series"),
      config<&ChartConfig::theme>("theme"),
      Field<T>{"time_zone",
               [](Writer& w, const T& c) {
                 const std::string& bytes = c.config.time_zone_tzif;
                 const std::span tzif(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
                 w.value(ZoneRecord{c.config.time_zone_name, {}, {}, tzif});
               },
               [](Reader& r, T& c) {
                 ZoneRecord z;
                 if (!r.value(z)) return false;
                 c.config.time_zone_name = std::move(z.name);
                 c.config.time_zone_tzif.assign(z.tzif.begin(), z.tzif.end());
                 c.config.time_zone = std::move(z.zone);
                 return true;
               },
               QC_DESCRIBER([](Describer& d) { d.value<ZoneRecord>(); })},
      config<&ChartConfig::view>("view"),
      config_since_saved<&ChartConfig::time_format>("time_format"),
      Field<T>{"bars", [](Writer& w, const T& c) { w.value(c.user_bars()); },
               [](Reader& r, T& c) { return r.value(c.bars); },
               QC_DESCRIBER([](Describer& d) {
                 d.value<model::BarColumns>();
                 d.note("the bars as the user gave them; a column of another length than most is named");
               })},
      Field<T>{"boxes",
               [](Writer& w, const T& c) {
                 std::optional<BoxesRecord> boxes;
                 if (c.boxed()) boxes = BoxesRecord{{}, {}, c.source.atr, &c.bars, c.source.last_bar};
                 w.value(boxes);
               },
               [](Reader& r, T&) {
                 std::optional<BoxesRecord> boxes;
                 return r.boxes(boxes);
               },
               QC_DESCRIBER([](Describer& d) {
                 d.value<std::optional<BoxesRecord>>();
                 d.note("the boxes of a box style (null for the others), at most " + std::to_string(kMostBoxes));
               })},
      config<&ChartConfig::indicators>("studies"),
      Field<T>{"live", [](Writer& w, const T& c) { w.value(live_entries(c)); },
               [](Reader& r, T&) { return r.live(); },
               QC_DESCRIBER([](Describer& d) {
                 d.value<std::vector<std::optional<LiveEntry>>>();
                 d.note("one entry per study, how it follows bars appended and updated: the method and arguments of "
                        "the call that computes it again, as the builders take them (its vectors as many as the "
                        "method's), and how many of its values the caller gave; left out in texts saved before, "
                        "whose studies keep their values and take NaN on new bars");
               }),
               true},
      config<&ChartConfig::primitives>("tools"),
      config<&ChartConfig::signals>("signals"),
      config<&ChartConfig::levels>("levels"),
      config_since_saved<&ChartConfig::price_formats>("price_formats"),
      config<&ChartConfig::user_series_calls>("user_series_calls"),
  };
};

bool Reader::document(Chart& out) {
  chart_ = &out;
  if (!value(out)) return false;
  if (cursor_.peek() != JsonCursor::end) return syntax_error("trailing characters");
  if (!place_boxes(out) || !place_live(out)) return false;
  const std::size_t n = out.bars.size();
  if (const auto& view = out.config.view; view && n > 0) {
    if (const ViewFault fault = view_fault(*view, n); fault != ViewFault::none) {
      const ViewRefusal refusal = view_refusal(*view, n, fault);
      path_ = "view";
      if (!refusal.argument.empty()) enter(refusal.argument);
      return fail(refusal.text);
    }
  }
  return true;
}

// A box style's settings as the builders take them: a size above 0 (below 100 as a percent) and at or above
// the closes' resolution, a count of 1 or more where the style has one.
bool Reader::box_settings(const model::BoxSettings& b, model::BarsView bars) {
  path_ = "series.boxes";
  const bool counted = b.kind == model::BoxKind::point_and_figure || b.kind == model::BoxKind::line_break;
  if (counted && b.count < 1) return fail_at("count", "invalid value: 0, expected 1 or more");
  if (b.kind != model::BoxKind::line_break) {
    if (!(std::isfinite(b.size) && b.size > 0)) {
      return fail_at("size", "invalid value: " + number_text(b.size) + ", expected a finite number above 0");
    }
    if (b.percent && b.size >= 100) {
      return fail_at("size", "invalid value: " + number_text(b.size) + ", expected a percent below 100");
    }
    if (model::below_resolution(bars, b)) {
      return fail_at("size", number_text(b.size) + " is below the prices' resolution");
    }
  }
  path_.clear();
  return true;
}

// A box style's boxes become the bars drawn, the user's bars kept beside them; each box must end at one of
// those bars, not before the box before it (one bar may complete several boxes).
bool Reader::place_boxes(Chart& out) {
  const std::optional<model::BoxKind> kind = box_kind(out.config.series.series_type);
  if (!kind && !(out.config.series.boxes == model::BoxSettings{})) {
    path_ = "series.boxes";
    return fail("settings for a style drawn from the bars");
  }
  if (kind.has_value() != boxes_.has_value()) {
    path_ = "boxes";
    return fail(kind ? "missing for a box style" : "given for a style drawn from the bars");
  }
  if (!kind) return true;
  out.config.series.boxes.kind = *kind;
  if (!box_settings(out.config.series.boxes, out.bars)) return false;
  BoxesRecord& boxes = *boxes_;
  if (boxes.bars.size() > kMostBoxes) {
    path_ = "boxes.bars";
    return fail(std::to_string(boxes.bars.size()) + " boxes, more than " + std::to_string(kMostBoxes));
  }
  path_ = "boxes.last_bar";
  if (boxes.last_bar.size() != boxes.bars.size()) {
    return fail(std::to_string(boxes.last_bar.size()) + " values for " + std::to_string(boxes.bars.size()) + " boxes");
  }
  const std::size_t bars = out.bars.size();
  for (std::size_t i = 0; i < boxes.last_bar.size(); ++i) {
    const std::uint64_t bar = boxes.last_bar[i];
    if (bar >= bars || (i > 0 && bar < boxes.last_bar[i - 1])) {
      return fail("box " + std::to_string(i) + " ends at bar " + std::to_string(bar) +
                  ", before the box before it or beyond the " + std::to_string(bars) + " bars");
    }
  }
  out.source.bars = std::move(out.bars);
  out.bars = std::move(boxes.bars);
  out.source.last_bar.assign(boxes.last_bar.begin(), boxes.last_bar.end());
  out.source.atr = boxes.atr;
  path_.clear();
  return true;
}

// A study's arguments held to its row's kinds, as the binding converts them: a whole number (an integral float
// taken), a real (its non-finite names too), a colour (or "" for a keyword colour left as None), a choice; then
// the row's settings' rules.
bool Reader::call_args(const IndicatorSpec& row, std::vector<CallArg>& args) {
  if (args.size() != row.args.size()) {
    return fail(std::to_string(args.size()) + " arguments for the " + std::to_string(row.args.size()) + " of \"" +
                std::string(row.method) + "\"");
  }
  for (std::size_t i = 0; i < args.size(); ++i) {
    const ArgSpec& spec = row.args[i];
    CallArg& arg = args[i];
    const auto* whole = std::get_if<std::uint64_t>(&arg);
    const auto* real = std::get_if<double>(&arg);
    const auto* text = std::get_if<std::string>(&arg);
    const std::string at = "[" + std::to_string(i) + "]";
    switch (spec.kind) {
      case ArgKind::Whole:
        if (real && std::trunc(*real) == *real && *real >= 0 && *real <= 0x1p53) arg = static_cast<std::uint64_t>(*real);
        if (!std::holds_alternative<std::uint64_t>(arg)) return fail_at(at, "invalid value, expected a whole number");
        break;
      case ArgKind::Real:
        if (whole) arg = static_cast<double>(*whole);
        for (const double v : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity()}) {
          if (text && *text == non_finite_name(v)) arg = v;
        }
        if (!std::holds_alternative<double>(arg)) return fail_at(at, "invalid value, expected a number");
        break;
      case ArgKind::Text:
        if (!text || !((spec.keyword_only() && text->empty()) || color_text(*text))) {
          return fail_at(at, "invalid value, expected a colour" +
                                 std::string(spec.keyword_only() ? " or \"\"" : ""));
        }
        break;
      case ArgKind::Choice:
        if (!text) return fail_at(at, "invalid value, expected a string");
        break;
    }
  }
  const CallView view(args);
  const SettingCheck check = check_settings(row, view.span());
  std::string what;
  switch (check.fault) {
    case SettingFault::none: return true;
    case SettingFault::below_one: what = "is below 1"; break;
    case SettingFault::not_finite: what = "is not finite"; break;
    case SettingFault::not_positive: what = "is not above 0"; break;
    case SettingFault::above_limit: what = "is above " + quoted(row.args[check.limit].name); break;
    case SettingFault::unknown_choice: what = "is not one of" + listed(row.args[check.index].choices, kItself, true); break;
  }
  return fail_at("[" + std::to_string(check.index) + "]",
                 "invalid value: " + quoted(row.args[check.index].name) + " " + what);
}

// Each record's way of following bars, one entry per record: a study's call held to its row and its record
// to the row's vectors, the values the caller gave at most those the record holds.
bool Reader::place_live([[maybe_unused]] Chart& out) {
#if !defined(__wasm__)
  if (!live_) return true;
  std::vector<std::optional<LiveEntry>>& entries = *live_;
  const std::vector<model::Indicator>& records = out.config.indicators;
  path_ = "live";
  if (entries.size() != records.size()) {
    return fail(std::to_string(entries.size()) + " entries for " + std::to_string(records.size()) + " studies");
  }
  out.live.assign(records.size(), {});
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!entries[i]) continue;
    LiveEntry& e = *entries[i];
    const std::size_t held = records[i].vectors.empty() ? 0 : records[i].vectors[0].values.size();
    path_ = "live[" + std::to_string(i) + "]";
    if (e.given && *e.given > held) {
      return fail_at("given", std::to_string(*e.given) + " values given, more than the " + std::to_string(held) +
                                  " the study holds");
    }
    if (e.given) out.live[i].given = static_cast<std::size_t>(*e.given);
    if (!e.study) continue;
    const IndicatorSpec* row = find_study_row(e.study->method);
    path_ += ".study";
    if (row == nullptr) return fail_at("method", "unknown study method " + quoted(e.study->method));
    if (records[i].vectors.size() != row->vectors.size()) {
      return fail(std::to_string(records[i].vectors.size()) + " vectors in the study for the " +
                  std::to_string(row->vectors.size()) + " of \"" + std::string(row->method) + "\"");
    }
    path_ += ".args";
    if (!call_args(*row, e.study->args)) return false;
    out.live[i].study = live_study(*row, CallView(e.study->args).span());
  }
  path_.clear();
#endif
  return true;
}

}  // namespace

util::Base64Text chart_json(const Chart& chart) {
  util::Base64Text text;
  Writer(text).value(chart);
  return text;
}

std::string chart_to_json(const Chart& chart) { return chart_json(chart).str(); }

std::string chart_json_keys() {
  Describer d;
  d.value<Chart>();
  return d.table();
}

std::optional<Chart> chart_from_json(std::string_view text, std::string& error) {
  Chart chart;
  Reader reader(text);
  if (!reader.document(chart)) {
    error = reader.error();
    return std::nullopt;
  }
  return chart;
}

}  // namespace qc::api
