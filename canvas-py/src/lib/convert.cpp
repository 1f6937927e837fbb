// The converters of every parameter kind, with the interpreter's and the binding layer's error texts.
#include "convert.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <climits>
#include <cstring>
#include <new>
#include <string_view>

#include "bar.hpp"
#include "buffers.hpp"
#include "dates.hpp"
#include "errors.hpp"
#include "api/indicator_style.hpp"
#include "api/value_rules.hpp"
#include "theme.hpp"
#include "time_scale.hpp"

namespace qcpy {

std::string type_name(PyObject* o) {
  Ref qualname = Ref::steal(PyType_GetQualName(Py_TYPE(o)));
  const char* text = PyUnicode_AsUTF8(qualname.get());
  if (text == nullptr) throw PyErrorPending{};
  return text;
}

void throw_not_convertible(PyObject* o, const char* expected) {
  Ref qualname = Ref::steal(PyType_GetQualName(Py_TYPE(o)));
  PyErr_Format(PyExc_TypeError, "expected %s, got '%U'", expected, qualname.get());
  throw PyErrorPending{};
}

// A float exactly, else the interpreter's float conversion (ints, __float__, __index__).
double to_f64(PyObject* o) {
  if (PyFloat_CheckExact(o)) return PyFloat_AS_DOUBLE(o);
  const double v = PyFloat_AsDouble(o);
  if (v == -1.0 && PyErr_Occurred()) throw PyErrorPending{};
  return v;
}

namespace {

long to_c_long(PyObject* o) {
  const long v = PyLong_AsLong(o);  // __index__ for non-ints; TypeError for floats
  if (v == -1 && PyErr_Occurred()) throw PyErrorPending{};
  return v;
}

}  // namespace

std::uint32_t to_u32(PyObject* o) {
  const long v = to_c_long(o);
  if (v < 0 || static_cast<unsigned long>(v) > UINT32_MAX) {
    PyErr_SetString(PyExc_OverflowError, "out of range integral type conversion attempted");
    throw PyErrorPending{};
  }
  return static_cast<std::uint32_t>(v);
}

// An int directly, anything else through its index conversion; the interpreter's OverflowError for
// negative or too large values.
std::uint64_t to_u64(PyObject* o) {
  static_assert(sizeof(unsigned long long) == sizeof(std::uint64_t));
  Ref index;
  if (!PyLong_Check(o)) {
    index = Ref::steal(PyNumber_Index(o));
    o = index.get();
  }
  const unsigned long long v = PyLong_AsUnsignedLongLong(o);
  if (v == static_cast<unsigned long long>(-1) && PyErr_Occurred()) throw PyErrorPending{};
  return v;
}

std::int64_t to_i64(PyObject* o) {
  static_assert(sizeof(long) == sizeof(std::int64_t), "timestamps are read as a C long");
  return to_c_long(o);
}

// A str or subclass as UTF-8, which the str keeps; a lone surrogate fails with the interpreter's
// UnicodeEncodeError.
std::string_view utf8_of(PyObject* o) {
  if (!PyUnicode_Check(o)) throw_not_convertible(o, "a str");
  Py_ssize_t size = 0;
  const char* data = PyUnicode_AsUTF8AndSize(o, &size);
  if (data == nullptr) throw PyErrorPending{};
  return {data, static_cast<std::size_t>(size)};
}

std::string to_text(PyObject* o) { return std::string(utf8_of(o)); }

bool looks_like_numpy_bool(PyTypeObject* type) {
  return type_is(type, "numpy", "bool_") || type_is(type, "numpy", "bool");
}

// True or False; a numpy boolean through its truth method; nothing else (ints included).
bool to_flag(PyObject* o) {
  if (o == Py_True) return true;
  if (o == Py_False) return false;
  PyTypeObject* type = Py_TYPE(o);
  if (!looks_like_numpy_bool(type)) throw_not_convertible(o, "True or False");
  auto nb_bool = reinterpret_cast<inquiry>(PyType_GetSlot(type, Py_nb_bool));
  if (nb_bool == nullptr) {
    PyErr_Format(PyExc_TypeError, "object of type '%S' does not define a '__bool__' conversion",
                 reinterpret_cast<PyObject*>(type));
    throw PyErrorPending{};
  }
  const int truth = nb_bool(o);
  if (truth < 0) throw_pending();
  return truth != 0;
}

namespace {

// A tuple of two items: TypeError for anything else.
PyObject* pair_item(PyObject* o, Py_ssize_t i) {
  if (!PyTuple_Check(o)) throw_not_convertible(o, "a tuple of two numbers");
  const Py_ssize_t n = PyTuple_GET_SIZE(o);
  if (n != 2) {
    PyErr_Format(PyExc_TypeError, "expected tuple of length 2, but got tuple of length %zd", n);
    throw PyErrorPending{};
  }
  return PyTuple_GET_ITEM(o, i);
}

// Two plain numbers (a pointer's pixels, a value range): no dates.
Point to_number_pair(PyObject* o) { return {to_f64(pair_item(o, 0)), to_f64(pair_item(o, 1))}; }

}  // namespace

Point to_point(PyObject* o, const BarClock* clock, const char* name) {
  const double bar = bar_index(pair_item(o, 0), clock, name, DateRole::position, to_f64);
  return {bar, to_f64(pair_item(o, 1))};
}

namespace {

qc::model::Bar to_bar(PyObject* o) {
  PyTypeObject* bar_type = type_object<BarClass>();
  if (!PyObject_TypeCheck(o, bar_type)) throw_not_convertible(o, "a Bar");
  BorrowGuard guard = borrow<BarClass>(o, Borrow::shared);
  return object_of<BarClass>(o)->value;
}

// A sequence's length is only a hint for the first allocation. A list's or tuple's own length is backed
// by the items it holds; any other length comes from caller code that may fail or lie, so it is capped.
// A failure to reserve is ignored: the items are appended all the same.
template <class Vec>
void reserve_hint(Vec& out, PyObject* seq) {
  constexpr Py_ssize_t kMaxUntrustedBytes = Py_ssize_t{16} << 20;
  Py_ssize_t hint = 0;
  if (PyList_CheckExact(seq) || PyTuple_CheckExact(seq)) {
    hint = Py_SIZE(seq);
  } else {
    hint = std::min<Py_ssize_t>(PySequence_Size(seq), kMaxUntrustedBytes / Py_ssize_t{sizeof(typename Vec::value_type)});
    if (hint < 0) {
      PyErr_Clear();
      return;
    }
  }
  try {
    out.reserve(static_cast<std::size_t>(hint));
  } catch (const std::bad_alloc&) {
  }
}

// Any sequence but a str, iterated in order, each item converted by `item`, into a vector of type Vec.
template <class T, class F, class Vec = std::vector<T>>
Vec to_list(PyObject* o, F item) {
  if (PyUnicode_Check(o)) throw_not_convertible(o, "a sequence other than a str");
  if (!PySequence_Check(o)) throw_not_convertible(o, "a sequence");
  Vec out;
  reserve_hint(out, o);
  Ref iter = Ref::steal(PyObject_GetIter(o));
  for (;;) {
    PyObject* next = PyIter_Next(iter.get());
    if (next == nullptr) {
      if (PyErr_Occurred()) throw PyErrorPending{};
      return out;
    }
    Ref held = Ref::steal(next);
    out.push_back(item(held.get()));
  }
}

[[noreturn]] void raise_value_error(const char* name, PyObject* given, const char* what) {
  PyErr_Format(PyExc_ValueError, "argument '%s': %R %s", name, given, what);
  throw PyErrorPending{};
}

}  // namespace

std::string to_color(PyObject* o, const char* name) {
  std::string text = to_text(o);
  if (std::optional<std::string> color = qc::api::color_text(text)) return std::move(*color);
  Ref given = Ref::steal(PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size())));
  raise_value_error(name, given.get(),
                    "is not a colour (use #rgb, #rrggbb, #rrggbbaa, rgb(), rgba() or a CSS colour name)");
}

namespace {

std::int64_t to_time_unit(PyObject* o, const char* name) {
  const std::string text = to_text(o);
  if (const std::optional<std::int64_t> per_second = units_per_second(text)) return *per_second;
  std::string names;
  for (const TimeUnit& u : kTimeUnits) names += (names.empty() ? "'" : ", '") + std::string(u.name) + "'";
  Ref given = Ref::steal(PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size())));
  raise_value_error(name, given.get(), ("is not one of " + names).c_str());
}

// One entry of a colour list, named `name` in its errors: None, a colour, or a tuple or list of two, each
// None or a colour.
ColorEntry to_color_entry(PyObject* o, const char* name) {
  const auto optional_color = [&](PyObject* item) {
    return item == Py_None ? std::optional<std::string>() : std::optional(to_color(item, name));
  };
  if (!PyTuple_Check(o) && !PyList_Check(o)) return {optional_color(o), std::nullopt, false};
  const Py_ssize_t n = PySequence_Size(o);
  if (n != 2) {
    PyErr_Format(PyExc_TypeError, "expected a colour or a pair of colours, got %zd items", n);
    throw PyErrorPending{};
  }
  Ref first = Ref::steal(PySequence_GetItem(o, 0));
  Ref second = Ref::steal(PySequence_GetItem(o, 1));
  if (first.get() == nullptr || second.get() == nullptr) throw PyErrorPending{};
  return {optional_color(first.get()), optional_color(second.get()), true};
}

// Names its own errors: "argument 'colors': ..." for the list, "argument 'colors[i]': ..." for an entry.
ColorList to_color_list(PyObject* o, const char* name) {
  if (o == Py_None) return std::nullopt;
  Ref items;
  try {
    if (PyUnicode_Check(o) || !PySequence_Check(o)) throw_not_convertible(o, "a sequence");
    items = Ref::steal(PySequence_Fast(o, "a colour list"));
    if (items.get() == nullptr) throw PyErrorPending{};
  } catch (const PyErrorPending&) {
    prefix_type_error(name);
    throw;
  }
  const Py_ssize_t n = PySequence_Fast_GET_SIZE(items.get());
  std::vector<ColorEntry> entries;
  entries.reserve(static_cast<std::size_t>(n));
  for (Py_ssize_t i = 0; i < n; ++i) {
    const std::string entry = std::string(name) + '[' + std::to_string(i) + ']';
    try {
      entries.push_back(to_color_entry(PySequence_Fast_GET_ITEM(items.get(), i), entry.c_str()));
    } catch (const PyErrorPending&) {
      prefix_type_error(entry.c_str());
      throw;
    }
  }
  return entries;
}

std::optional<double> to_pane_height(PyObject* o, const char* name) {
  if (o == Py_None) return std::nullopt;
  const double height = to_f64(o);
  if (qc::api::is_pane_height(height)) return height;
  Ref given = Ref::steal(PyFloat_FromDouble(height));
  Ref least = Ref::steal(PyFloat_FromDouble(qc::api::kLeastPaneHeight));
  Ref most = Ref::steal(PyFloat_FromDouble(qc::api::kMostPaneHeight));
  PyErr_Format(PyExc_ValueError, "argument '%s': expected a share from %R to %R of the plot height, got %R", name,
               least.get(), most.get(), given.get());
  throw PyErrorPending{};
}

// A level to draw at: a number that is not finite has no place on a scale.
std::optional<double> to_opt_finite(PyObject* o, const char* name) {
  if (o == Py_None) return std::nullopt;
  const double v = to_f64(o);
  if (std::isfinite(v)) return v;
  Ref given = Ref::steal(PyFloat_FromDouble(v));
  PyErr_Format(PyExc_ValueError, "argument '%s': expected a finite number or None, got %R", name, given.get());
  throw PyErrorPending{};
}

PyObject* to_theme(PyObject* o) {
  for (PyTypeObject* type : {type_object<ThemeClass>(), type_object<UIThemeClass>(), type_object<RuntimeThemeClass>()}) {
    if (PyObject_TypeCheck(o, type)) return o;
  }
  throw_not_convertible(o, "a Theme, UITheme or RuntimeTheme");
}

// A pane's text as given (the body knows the texts), or its number.
Converted to_pane(PyObject* o) {
  if (PyUnicode_Check(o)) return to_text(o);
  if (PyBool_Check(o) || !PyIndex_Check(o)) throw_not_convertible(o, "a str or an int");
  return to_i64(o);
}

// None: no numbers; else a sequence of exactly two floats.
Converted to_value_range(PyObject* o) {
  if (o == Py_None) return std::vector<double>();
  const Point p = to_number_pair(o);
  return std::vector<double>{p.bar, p.price};
}

}  // namespace

std::vector<double> to_f64_list(PyObject* o, const char* name) {
  if (std::optional<qc::model::Values> values = floats_of_buffer(o, name)) return {values->begin(), values->end()};
  return to_list<double>(o, to_f64);
}

qc::model::Values to_f64_column(PyObject* o, const char* name) {
  if (std::optional<qc::model::Values> values = floats_of_buffer(o, name)) return std::move(*values);
  return to_list<double, double (*)(PyObject*), qc::model::Values>(o, to_f64);
}

Converted convert(const Param& p, PyObject* o, const BarClock* clock) {
  const auto point = [&](PyObject* item) { return to_point(item, clock, p.name); };
  switch (p.kind) {
    case Kind::f64: return to_f64(o);
    case Kind::opt_f64: return o == Py_None ? std::optional<double>() : std::optional(to_f64(o));
    case Kind::u32: return to_u32(o);
    case Kind::u64: return to_u64(o);
    case Kind::i64: return to_i64(o);
    case Kind::opt_i64: return o == Py_None ? std::optional<std::int64_t>() : std::optional(to_i64(o));
    case Kind::text: return to_text(o);
    case Kind::opt_text: return o == Py_None ? std::optional<std::string>() : std::optional(to_text(o));
    case Kind::long_text:
      utf8_of(o);  // refused here as a text argument is
      return Ref::borrow(o);
    case Kind::color: return to_color(o, p.name);
    case Kind::opt_color: return o == Py_None ? std::optional<std::string>() : std::optional(to_color(o, p.name));
    case Kind::color_list: return to_color_list(o, p.name);
    case Kind::pane_height: return to_pane_height(o, p.name);
    case Kind::opt_finite: return to_opt_finite(o, p.name);
    case Kind::theme: return Ref::borrow(to_theme(o));
    case Kind::flag: return to_flag(o);
    case Kind::bar: return bar_index(o, clock, p.name, DateRole::bar, to_u64);
    case Kind::bar_position: return bar_index(o, clock, p.name, DateRole::position, to_f64);
    case Kind::first_bar: return bar_index(o, clock, p.name, DateRole::first, to_i64);
    case Kind::last_bar: return bar_index(o, clock, p.name, DateRole::last, to_i64);
    case Kind::point: return point(o);
    case Kind::points: return to_list<Point>(o, point);
    case Kind::opt_point: return o == Py_None ? std::optional<Point>() : std::optional(to_number_pair(o));
    case Kind::f64_list: return to_f64_list(o, p.name);
    case Kind::bar_list: return to_list<qc::model::Bar>(o, to_bar);
    case Kind::one_bar: return std::vector<qc::model::Bar>{to_bar(o)};
    case Kind::object:
    case Kind::marks:
    case Kind::path:
    case Kind::time_column:
    case Kind::number_column: return Ref::borrow(o);
    case Kind::opt_number_column:
    case Kind::mark_price: return o == Py_None ? Ref() : Ref::borrow(o);
    case Kind::time_unit: return to_time_unit(o, p.name);
    case Kind::pane: return to_pane(o);
    case Kind::opt_f64_list: return o == Py_None ? std::vector<double>() : to_f64_list(o, p.name);
    case Kind::value_range: return to_value_range(o);
    case Kind::values_or_number: return Ref::borrow(o);
  }
  throw Panic("unknown parameter kind");
}

namespace {

template <class T>
T parse_number(std::string_view text) {
  T v{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) throw Panic("unreadable default value");
  return v;
}

// A quoted default ('floor', 's') without its quotes; none when it is not quoted.
std::optional<std::string_view> unquoted(std::string_view text) {
  if (text.size() < 2 || text.front() != '\'' || text.back() != '\'') return std::nullopt;
  return text.substr(1, text.size() - 2);
}

}  // namespace

Converted default_value(const Param& p) {
  const std::string_view text = p.default_text;
  switch (p.kind) {
    case Kind::f64: return parse_number<double>(text);
    case Kind::u32: return parse_number<std::uint32_t>(text);
    case Kind::u64: return parse_number<std::uint64_t>(text);
    case Kind::i64: return parse_number<std::int64_t>(text);
    case Kind::flag:
      if (text == "True" || text == "False") return text == "True";
      break;
    case Kind::opt_text:
    case Kind::opt_color:
      if (text == "None") return std::optional<std::string>();
      break;
    case Kind::color:
      if (const auto color = unquoted(text)) return std::string(*color);
      break;
    case Kind::pane:
      if (const auto name = unquoted(text)) return std::string(*name);
      return parse_number<std::int64_t>(text);
    case Kind::opt_f64_list:
    case Kind::value_range:
      if (text == "None") return std::vector<double>();
      break;
    case Kind::color_list:
      if (text == "None") return ColorList();
      break;
    case Kind::opt_point:
      if (text == "None") return std::optional<Point>();
      break;
    case Kind::opt_i64:
      if (text == "None") return std::optional<std::int64_t>();
      break;
    case Kind::opt_f64:
    case Kind::pane_height:
    case Kind::opt_finite:
      if (text == "None") return std::optional<double>();
      break;
    case Kind::text:  // a choice's default
      if (const auto choice = unquoted(text)) return std::string(*choice);
      break;
    case Kind::opt_number_column:
    case Kind::mark_price:
    case Kind::object:
      if (text == "None") return Ref();
      break;
    case Kind::time_unit:
      if (const auto unit = unquoted(text)) {
        if (const std::optional<std::int64_t> per_second = units_per_second(*unit)) return *per_second;
      }
      break;
    default: break;
  }
  throw Panic("parameter kind without defaults");
}

void prefix_type_error(const char* name) {
  PyObject* raised = PyErr_GetRaisedException();
  if (raised == nullptr || !Py_IS_TYPE(raised, reinterpret_cast<PyTypeObject*>(PyExc_TypeError))) {
    PyErr_SetRaisedException(raised);
    return;
  }
  Ref old = Ref::steal(raised);
  Ref message = Ref::steal(PyUnicode_FromFormat("argument '%s': %S", name, old.get()));
  Ref replacement = Ref::steal(PyObject_CallOneArg(PyExc_TypeError, message.get()));
  PyException_SetCause(replacement.get(), PyException_GetCause(old.get()));  // steals the cause
  PyErr_SetRaisedException(replacement.release());
}

Converted convert_argument(const Param& p, PyObject* o, const BarClock* clock) {
  try {
    return convert(p, o, clock);
  } catch (const PyErrorPending&) {
    if (p.kind != Kind::color_list) prefix_type_error(p.name);
    throw;
  }
}

void convert_all(const Params& params, const Slots& slots, Args& args, const BarClock* clock) {
  for (std::size_t i = 0; i < params.size(); ++i) {
    args.slot(i) = slots[i] != nullptr ? convert_argument(params[i], slots[i], clock) : default_value(params[i]);
  }
}

}  // namespace qcpy
