// Parameters of a binding row (name, kind, default) and the converted argument values a body reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "api/config.hpp"
#include "model/series/data.hpp"
#include "py.hpp"

namespace qcpy {

// What an argument is converted to; the converters (convert.cpp) hold the rules and error texts.
enum class Kind : std::uint8_t {
  f64,       // float, or anything with a float or index conversion
  opt_f64,   // None or f64
  u32,       // C long range-checked to 0..2^32-1
  u64,       // int, or anything with an index conversion
  i64,       // C long
  opt_i64,   // None or i64
  text,      // str (or subclass), taken as UTF-8
  long_text,  // text held as the str itself, whose UTF-8 the body reads where the str keeps it, not copied
  opt_text,  // None or text
  color,     // text that is a colour: kept as given when it parses, a colour name as its "#rrggbb" text
  opt_color,    // None or a colour
  color_list,   // None or a sequence of entries, each None, a colour or a pair of them (None or a colour)
  pane_height,  // None or a pane's share of the plot height, within the bounds of indicator_style.hpp
  opt_finite,   // None or a finite float
  theme,        // a Theme, UITheme or RuntimeTheme, held as the object itself
  flag,      // True/False, or a numpy boolean
  bar,           // a bar's index: an int (or anything with an index conversion), or a date
  bar_position,  // a place on the time axis: a float bar index, or a date (beyond the bars: a fractional index)
  first_bar,     // a view's first bar: a C long (negative: from the end), or a date
  last_bar,      // a view's last bar: a C long (negative: from the end), or a date
  point,     // tuple (bar, price) of two floats; the bar may be a date, placed as bar_position places it
  opt_point,  // None or a tuple of two floats (no dates)
  points,    // sequence of points
  f64_list,  // numbers: a buffer (or `__array__`'s) of integers or floats, or a sequence of floats
  bar_list,  // sequence of Bar objects
  one_bar,   // a Bar object, held as a bar list of one
  object,    // any object, held as it is
  path,      // a file's path as open() takes it, held as it is
  // Columns of bars_from_columns, held as given: the body reads them straight into the new bars.
  time_column,     // integer seconds: buffer, __array__ or sequence
  number_column,   // numbers: buffer, __array__ or sequence
  opt_number_column,  // None or a number column
  time_unit,          // the name of a timestamps unit, held as its units per second
  marks,       // the bars to mark: a mask, bar indices or dates, held as given (markers.cpp reads it)
  mark_price,  // None, "low", "high", "close", a number or a number column, held as given
  pane,               // a pane: the text 'price' or 'new' (held as text), or its number (held as i64)
  opt_f64_list,       // None (no numbers) or an f64_list
  value_range,        // None or a pair (lo, hi) of floats, held as no numbers or as those two
  values_or_number,   // a number column or one number, held as given
};

// The parameter's type in the module's stubs: as wide as the converter accepts. The names starting with
// "_" are aliases the stub header defines.
constexpr const char* annotation(Kind kind) {
  switch (kind) {
    case Kind::f64: return "_Real";
    case Kind::opt_f64: return "_Real | None";
    case Kind::u32:
    case Kind::u64:
    case Kind::i64: return "SupportsIndex";
    case Kind::opt_i64: return "SupportsIndex | None";
    case Kind::text:
    case Kind::long_text:
    case Kind::color: return "str";
    case Kind::opt_text:
    case Kind::opt_color: return "str | None";
    case Kind::color_list: return "Sequence[_ColorEntry] | None";
    case Kind::pane_height:
    case Kind::opt_finite: return "_Real | None";
    case Kind::theme: return "Theme | UITheme | RuntimeTheme";
    case Kind::flag: return "bool | numpy.bool_";
    case Kind::bar:
    case Kind::first_bar:
    case Kind::last_bar: return "SupportsIndex | _Date";
    case Kind::bar_position: return "_Real | _Date";
    case Kind::point: return "_Point";
    case Kind::opt_point: return "_Point | None";
    case Kind::points: return "Sequence[_Point]";
    case Kind::f64_list: return "_NumberColumn";
    case Kind::bar_list: return "Sequence[Bar]";
    case Kind::one_bar: return "Bar";
    case Kind::object: return "object";
    case Kind::path: return "_Path";
    case Kind::time_column: return "_TimeColumn";
    case Kind::number_column: return "_NumberColumn";
    case Kind::opt_number_column: return "_NumberColumn | None";
    case Kind::time_unit: return "_TimeUnit";
    case Kind::marks: return "_Marks";
    case Kind::mark_price: return "_MarkPrice";
    case Kind::pane: return "str | SupportsIndex";
    case Kind::opt_f64_list: return "_NumberColumn | None";
    case Kind::value_range: return "tuple[_Real, _Real] | None";
    case Kind::values_or_number: return "_NumberColumn | _Real";
  }
  return "object";
}

struct Param {
  const char* name = nullptr;  // the keyword name, as shown in the text signature
  Kind kind = Kind::f64;
  const char* default_text = nullptr;  // as shown in the text signature ("0.0", "None"); null: required
  bool keyword_only = false;           // set by the list for the parameters after `param::star` (and on it)
  const char* meaning = nullptr;       // the docstring's text for it; null: the common one of its name (meanings.hpp)

  // The parameter with a meaning of its own, where the common one of its name does not fit the row.
  constexpr Param means(const char* text) const {
    Param p = *this;
    p.meaning = text;
    return p;
  }
};

// Parameter makers, so rows read like signatures: {u64("bar_index"), f64("price"), opt_text("label", "None")}.
namespace param {
constexpr Param f64(const char* name, const char* def = nullptr) { return {name, Kind::f64, def}; }
constexpr Param opt_f64(const char* name) { return {name, Kind::opt_f64, "None"}; }
constexpr Param u32(const char* name) { return {name, Kind::u32}; }
constexpr Param u64(const char* name) { return {name, Kind::u64}; }
constexpr Param i64(const char* name) { return {name, Kind::i64}; }
constexpr Param opt_i64(const char* name) { return {name, Kind::opt_i64, "None"}; }
constexpr Param text(const char* name, const char* def = nullptr) { return {name, Kind::text, def}; }
constexpr Param opt_text(const char* name) { return {name, Kind::opt_text, "None"}; }
constexpr Param long_text(const char* name) { return {name, Kind::long_text}; }
constexpr Param color(const char* name, const char* def = nullptr) { return {name, Kind::color, def}; }
constexpr Param opt_color(const char* name) { return {name, Kind::opt_color, "None"}; }
constexpr Param color_list(const char* name) { return {name, Kind::color_list, "None"}; }
constexpr Param pane_height(const char* name) {
  return {name, Kind::pane_height, "None", false, "the pane's share of the plot height, 0.05 to 0.6; None: its own"};
}
constexpr Param opt_finite(const char* name) { return {name, Kind::opt_finite, "None"}; }
constexpr Param theme(const char* name) { return {name, Kind::theme}; }
constexpr Param flag(const char* name, const char* def = nullptr) { return {name, Kind::flag, def}; }
constexpr Param bar(const char* name) { return {name, Kind::bar}; }
constexpr Param bar_position(const char* name) { return {name, Kind::bar_position}; }
constexpr Param first_bar(const char* name) { return {name, Kind::first_bar}; }
constexpr Param last_bar(const char* name) { return {name, Kind::last_bar}; }
constexpr Param marks(const char* name) { return {name, Kind::marks}; }
constexpr Param mark_price(const char* name) { return {name, Kind::mark_price, "None"}; }
constexpr Param point(const char* name) { return {name, Kind::point}; }
constexpr Param opt_point(const char* name) { return {name, Kind::opt_point, "None"}; }
constexpr Param points(const char* name) { return {name, Kind::points}; }
constexpr Param f64_list(const char* name) { return {name, Kind::f64_list}; }
constexpr Param bar_list(const char* name) { return {name, Kind::bar_list}; }
constexpr Param one_bar(const char* name) { return {name, Kind::one_bar}; }
constexpr Param object(const char* name) { return {name, Kind::object}; }
constexpr Param opt_object(const char* name) { return {name, Kind::object, "None"}; }
constexpr Param path(const char* name) { return {name, Kind::path}; }
constexpr Param time_column(const char* name) { return {name, Kind::time_column}; }
constexpr Param number_column(const char* name) { return {name, Kind::number_column}; }
constexpr Param opt_number_column(const char* name) { return {name, Kind::opt_number_column, "None"}; }
constexpr Param time_unit(const char* name) { return {name, Kind::time_unit, "'s'"}; }
constexpr Param pane(const char* name, const char* def) { return {name, Kind::pane, def}; }
constexpr Param opt_f64_list(const char* name) { return {name, Kind::opt_f64_list, "None"}; }
constexpr Param value_range(const char* name) { return {name, Kind::value_range, "None"}; }
constexpr Param values_or_number(const char* name) { return {name, Kind::values_or_number}; }
// Written where Python writes `*`: the parameters after it are taken by keyword only.
inline constexpr Param star{"*", Kind::object, nullptr, true};
}  // namespace param

inline constexpr std::size_t kMaxParams = 10;

// The parameter list of one row, checked when the row is compiled: at most kMaxParams, no required
// parameter after one with a default, and keyword-only parameters (after `param::star`) all with defaults.
class Params {
 public:
  constexpr Params() = default;
  consteval Params(std::initializer_list<Param> list) : Params(std::span<const Param>(list.begin(), list.size())) {}
  consteval explicit Params(std::span<const Param> list) {
    bool keyword_only = false;
    for (const Param& p : list) {
      if (p.name == nullptr) throw "parameter without a name";
      if (p.keyword_only) {  // only `param::star` comes with the mark
        if (keyword_only) throw "a second `*` in one parameter list";
        keyword_only = true;
        continue;
      }
      if (count_ == kMaxParams) throw "too many parameters: raise kMaxParams";
      if (p.default_text == nullptr) {
        if (keyword_only) throw "a keyword-only parameter without a default";
        if (required_ != count_) throw "a required parameter follows one with a default";
        ++required_;
      }
      items_[count_] = p;
      items_[count_++].keyword_only = keyword_only;
      if (!keyword_only) ++positional_;
    }
  }

  constexpr std::span<const Param> all() const { return {items_.data(), count_}; }
  constexpr std::size_t size() const { return count_; }
  constexpr std::size_t required() const { return required_; }
  // Those that a call may give by position: the ones before `param::star`.
  constexpr std::size_t positional() const { return positional_; }
  constexpr bool empty() const { return count_ == 0; }
  constexpr const Param& operator[](std::size_t i) const { return items_[i]; }

 private:
  std::array<Param, kMaxParams> items_{};
  std::size_t count_ = 0;
  std::size_t required_ = 0;
  std::size_t positional_ = 0;
};

using Point = qc::api::Point;

// One entry of a colour list: a colour, or a pair of colours; an absent one stands for None.
struct ColorEntry {
  std::optional<std::string> first;
  std::optional<std::string> second;
  bool pair = false;
};
// None for a list not given.
using ColorList = std::optional<std::vector<ColorEntry>>;

using Converted = std::variant<std::monostate, double, std::uint32_t, std::uint64_t, std::int64_t, std::string,
                           std::optional<std::string>, bool, Point, std::vector<Point>, std::vector<double>,
                           std::vector<qc::model::Bar>, Ref, std::optional<double>, ColorList,
                           std::optional<Point>, std::optional<std::int64_t>>;

// A str's UTF-8 as the str keeps it (convert.cpp).
std::string_view utf8_of(PyObject* o);

// The converted arguments of one call, by parameter index. Reading an index as the wrong kind is a
// broken invariant of the row (std::bad_variant_access, reported as an internal failure).
class Args {
 public:
  double f64(std::size_t i) const { return get<double>(i); }
  std::uint32_t u32(std::size_t i) const { return get<std::uint32_t>(i); }
  std::uint64_t u64(std::size_t i) const { return get<std::uint64_t>(i); }
  std::int64_t i64(std::size_t i) const { return get<std::int64_t>(i); }
  std::int64_t units_per_second(std::size_t i) const { return get<std::int64_t>(i); }
  bool flag(std::size_t i) const { return get<bool>(i); }
  std::optional<double> opt_f64(std::size_t i) const { return get<std::optional<double>>(i); }
  std::optional<std::int64_t> opt_i64(std::size_t i) const { return get<std::optional<std::int64_t>>(i); }
  Point point(std::size_t i) const { return get<Point>(i); }
  std::optional<Point> opt_point(std::size_t i) const { return get<std::optional<Point>>(i); }
  // The containers are handed out for moving into the records the body builds.
  std::string& text(std::size_t i) { return get<std::string>(i); }
  std::optional<std::string>& opt_text(std::size_t i) { return get<std::optional<std::string>>(i); }
  // A long_text argument's UTF-8, kept by its str, which the call holds.
  std::string_view long_text(std::size_t i) const { return utf8_of(object(i)); }
  ColorList& color_list(std::size_t i) { return get<ColorList>(i); }
  std::vector<Point>& points(std::size_t i) { return get<std::vector<Point>>(i); }
  std::vector<double>& f64_list(std::size_t i) { return get<std::vector<double>>(i); }
  std::vector<qc::model::Bar>& bar_list(std::size_t i) { return get<std::vector<qc::model::Bar>>(i); }
  // An argument kept as the object itself (object and column kinds); null for an absent optional one.
  PyObject* object(std::size_t i) const { return get<Ref>(i).get(); }

  Converted& slot(std::size_t i) { return values_.at(i); }

 private:
  template <class T>
  T& get(std::size_t i) {
    return std::get<T>(values_.at(i));
  }
  template <class T>
  const T& get(std::size_t i) const {
    return std::get<T>(values_.at(i));
  }

  std::array<Converted, kMaxParams> values_;
};

}  // namespace qcpy
