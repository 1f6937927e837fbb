// Reading columns: the buffer protocol first, then `__array__`, then the sequence protocol; every item
// converted as the Bar constructor converts its argument, written into the bars' columns without a copy of the
// column in between. Timestamps are integers in the caller's unit, or datetime64 values in their own.
#include "columns.hpp"

#include <cstdint>
#include <new>
#include <string>

#include "buffers.hpp"
#include "convert.hpp"
#include "errors.hpp"
#include "time_scale.hpp"
#include "util/huge_pages.hpp"

namespace qcpy {
namespace {

using qc::model::BarColumns;

constexpr const char* kSecondsHint =
    "; pass integer seconds (from a pandas DatetimeIndex: df.index.as_unit(\"s\").asi8)";
constexpr const char* kDateTextHint =
    "; date texts are read by pandas.to_datetime (with the format and time zone they are written in), whose "
    "result this takes as it is";

// A column of a million bars is 8 MB touched for the first time: large pages spare most faults.
template <class T>
void grow(std::vector<T>& column, std::size_t n) {
  if (n > column.max_size()) throw std::bad_alloc();
  if (column.capacity() < n) {
    column.reserve(n);
    qc::util::advise_huge_pages(column.data(), n * sizeof(T));
  }
  if (column.size() < n) column.resize(n);
}

// Where a column's items go: the bars' timestamps or one of their price columns. Each grows to the length
// of the column read into it; lengths are compared once every column is read.
struct Target {
  BarColumns& bars;
  std::vector<double>* field;  // null: the timestamps
  const char* name;
  TimeScale scale;             // the timestamps' unit: the caller's, or a datetime64 column's own

  bool is_time() const { return field == nullptr; }
  std::size_t size() const { return is_time() ? bars.time().size() : field->size(); }
  void ensure(std::size_t n) const { is_time() ? grow(bars.time(), n) : grow(*field, n); }
  void append() const {
    if (is_time()) {
      bars.time().emplace_back();
    } else {
      field->emplace_back();
    }
  }
  // Items [begin, end) of a buffer in a format number_format read, into items [begin, end) of the column.
  void read(const Buffer& b, const Format& f, Py_ssize_t begin, Py_ssize_t end) const {
    if (begin == end) return;
    if (!is_time()) {
      read_floats(b, f, begin, end, {reinterpret_cast<char*>(field->data()), sizeof(double)}, name);
      return;
    }
    read_integers(b, f, begin, end, {reinterpret_cast<char*>(bars.time().data()), sizeof(std::int64_t)}, name);
    scale.apply(bars.time().data(), static_cast<std::size_t>(begin), static_cast<std::size_t>(end), name);
  }
};

[[noreturn]] void raise(PyObject* type, const std::string& message) {
  PyErr_SetString(type, message.c_str());
  throw PyErrorPending{};
}

// `text`: the column holds texts, most likely dates written out, which only a parser that is told their
// format can read.
[[noreturn]] void not_seconds(const Target& t, const std::string& what, bool text = false) {
  raise(PyExc_TypeError, std::string("argument '") + t.name + "': expected integer seconds since the epoch, got " +
                             what + (text ? kDateTextHint : kSecondsHint));
}

[[noreturn]] void not_numbers(const Target& t, const std::string& what, bool text = false) {
  if (t.is_time()) not_seconds(t, what, text);
  raise(PyExc_TypeError, std::string("argument '") + t.name + "': expected a column of integers or floats, got " + what);
}

[[noreturn]] void wrong_dimensions(const Target& t, const std::string& what) {
  raise(PyExc_ValueError, std::string("argument '") + t.name + "': expected a one-dimensional column, got " + what);
}

std::string type_name(PyObject* o) {
  Ref name = Ref::steal(PyType_GetQualName(Py_TYPE(o)));
  const char* text = PyUnicode_AsUTF8(name.get());
  if (text == nullptr) throw PyErrorPending{};
  return text;
}

std::string text_of(PyObject* str) {
  const char* text = PyUnicode_Check(str) ? PyUnicode_AsUTF8(str) : nullptr;
  if (text == nullptr) throw_pending();
  return text;
}

// ---- buffers ------------------------------------------------------------------------------------------

// The buffer's item format when the column can take it (integers only for the timestamps); none for a
// format it cannot take or a buffer that is not one-dimensional (checked_format says why).
std::optional<Format> usable_format(const Py_buffer& v, bool time) {
  const std::optional<Format> f = number_format(v);
  if (!f || (f->sort == Sort::floating && time)) return std::nullopt;
  return f;
}

Format checked_format(const Py_buffer& v, const Target& t) {
  if (std::optional<Format> f = usable_format(v, t.is_time())) return *f;
  if (v.ndim != 1) wrong_dimensions(t, std::to_string(v.ndim) + " dimensions");
  const std::string format = format_text(v);
  // numpy's fixed-width texts: "10w" (str), "10s" (bytes).
  not_numbers(t, "a column of format '" + format + "'", format.ends_with('w') || format.ends_with('s'));
}

// A column's buffer and what keeps it alive: a masked array's plain one, an array from `__array__`, an integer
// view of datetime64 values.
struct Source {
  Ref array;
  Ref view;
  Buffer buffer;
};

Ref call_method(PyObject* o, const char* name, PyObject* arg) {
  Ref method = Ref::steal(PyObject_GetAttrString(o, name));
  return Ref::steal(PyObject_CallOneArg(method.get(), arg));
}

Ref call_method(PyObject* o, const char* name, const std::string& arg) {
  Ref text = Ref::steal(PyUnicode_FromStringAndSize(arg.data(), static_cast<Py_ssize_t>(arg.size())));
  return call_method(o, name, text.get());
}

std::string dtype_text(PyObject* array) {
  Ref dtype = Ref::steal(PyObject_GetAttrString(array, "dtype"));
  return text_of(Ref::steal(PyObject_GetAttrString(dtype.get(), "str")).get());
}

// numpy refuses a buffer to datetime64 arrays: their integers are read through a view of them as
// integers of the same byte order, and their unit replaces the caller's. Years and months, which have no
// fixed length, are first cast to days.
void open_datetime(PyObject* array, Target& t, Source& s) {
  std::string dtype = dtype_text(array);
  std::optional<TimeScale> scale = TimeScale::of_datetime64(dtype);
  if (!scale) {
    s.array = call_method(array, "astype", std::string("M8[D]"));
    array = s.array.get();
    dtype = dtype_text(array);
    scale = TimeScale::of_datetime64(dtype);
    if (!scale) not_seconds(t, "a datetime64 column of dtype '" + dtype + "'");
  }
  s.view = call_method(array, "view", dtype.substr(0, 1) + "i8");
  if (!plain_buffer(s.view.get(), s.buffer)) not_seconds(t, "a datetime64 column without integers to read");
  t.scale = *scale;
}

// Finds the column's buffer. False when the column is to be read item by item, from `s.array` when that
// holds an array.
bool open_buffer(PyObject* o, Target& t, Source& s) {
  if (is_masked(o) && t.is_time() && any_masked(o)) {
    raise(PyExc_ValueError, std::string("argument '") + t.name + "': a masked timestamp: every bar needs its time");
  }
  if (!t.is_time() && (s.array = unmasked(o))) o = s.array.get();
  if (plain_buffer(o, s.buffer)) return true;
  // A datetime64 column, or a pandas one with a time zone: its dtype's base is the datetime64 of its UTC
  // instants, which `__array__` gives when asked for it (and not the Timestamp objects it gives otherwise).
  if (t.is_time() && dtype_kind(o) == 'M') {
    if (Ref method = optional_attr(o, "__array__")) {
      Ref dtype = Ref::steal(PyObject_GetAttrString(o, "dtype"));
      Ref base = Ref::steal(PyObject_GetAttrString(dtype.get(), "base"));
      s.array = Ref::steal(PyObject_CallOneArg(method.get(), base.get()));
      open_datetime(s.array.get(), t, s);
      return true;
    }
  }
  if (column_buffer(o, s.buffer, s.array)) return true;
  if (!s.array) return false;
  const char kind = dtype_kind(s.array.get());
  if (kind == 'M' && t.is_time()) {
    open_datetime(s.array.get(), t, s);
    return true;
  }
  if (kind == 'M') not_numbers(t, "a datetime64 column");
  if (kind == 'm') not_numbers(t, "a timedelta64 column");
  return false;
}

// ---- sequences ----------------------------------------------------------------------------------------

// An item that is itself a column makes the column two-dimensional; a text, str or bytes, is one item.
bool is_nested(PyObject* item) {
  if (PyUnicode_Check(item) || PyBytes_Check(item)) return false;
  return PyObject_CheckBuffer(item) || PySequence_Check(item);
}

void put_item(PyObject* item, std::size_t i, const Target& t) {
  try {
    if (t.is_time()) {
      t.bars.time()[i] = to_i64(item);
      t.scale.apply(t.bars.time().data(), i, i + 1, t.name);
    } else {
      (*t.field)[i] = to_f64(item);
    }
  } catch (const PyErrorPending&) {
    if (!PyErr_ExceptionMatches(PyExc_TypeError)) throw;
    if (is_nested(item)) {
      PyErr_Clear();
      wrong_dimensions(t, "nested '" + type_name(item) + "' items");
    }
    if (t.is_time()) {
      PyErr_Clear();
      not_seconds(t, "a '" + type_name(item) + "' item", PyUnicode_Check(item) || PyBytes_Check(item));
    }
    prefix_type_error(t.name);
    throw;
  }
}

std::size_t read_sequence(PyObject* o, const Target& t) {
  if (!PySequence_Check(o)) {
    try {
      throw_not_convertible(o, "a sequence");
    } catch (const PyErrorPending&) {
      prefix_type_error(t.name);
      throw;
    }
  }
  // A list's or tuple's length is backed by its items; any other length is the caller's word and only
  // reserves, so that a wrong one cannot make the column longer than the items.
  if (PyList_CheckExact(o) || PyTuple_CheckExact(o)) {
    t.ensure(static_cast<std::size_t>(Py_SIZE(o)));
  }
  Ref iter = Ref::steal(PyObject_GetIter(o));
  std::size_t i = 0;
  for (;; ++i) {
    PyObject* next = PyIter_Next(iter.get());
    if (next == nullptr) {
      if (PyErr_Occurred()) throw PyErrorPending{};
      return i;
    }
    Ref item = Ref::steal(next);
    if (i >= t.size()) t.append();
    put_item(item.get(), i, t);
  }
}

// ---- one column ---------------------------------------------------------------------------------------

// A buffer of numbers; else, for an object that has one, the array `__array__` gives; else the items.
std::size_t read_column(PyObject* o, Target& t) {
  Source s;
  if (open_buffer(o, t, s)) {
    const Format f = checked_format(s.buffer.view(), t);
    const Py_ssize_t n = s.buffer.size();
    t.ensure(static_cast<std::size_t>(n));
    t.read(s.buffer, f, 0, n);
    return static_cast<std::size_t>(n);
  }
  return read_sequence(s.array ? s.array.get() : o, t);
}

using PriceColumn = std::vector<double>& (BarColumns::*)();
constexpr PriceColumn kFields[] = {nullptr, &BarColumns::open, &BarColumns::high, &BarColumns::low, &BarColumns::close,
                                   &BarColumns::volume};
constexpr std::size_t kColumns = std::size(kFields);
constexpr std::size_t kUnit = kColumns;  // the parameter after the columns

Target target(BarColumns& bars, std::size_t i, const Params& params, const TimeScale& unit) {
  return {bars, kFields[i] == nullptr ? nullptr : &(bars.*kFields[i])(), params[i].name, unit};
}

// The common way, when every column is a buffer (its own or its `__array__`'s) in a format it takes,
// and all have one length: each column is read straight into its own. Only the timestamps can fail
// there, and they come first, as in the general way. False, with nothing reported, when the columns
// need the general way (which reports any column that cannot be opened, in parameter order).

bool read_buffers(Args& args, const Params& params, const TimeScale& unit, BarColumns& bars) {
  Source sources[kColumns];
  Format formats[kColumns] = {};
  std::optional<Target> targets[kColumns];
  Py_ssize_t n = -1;
  for (std::size_t i = 0; i < kColumns; ++i) {
    PyObject* column = args.object(i);
    if (column == nullptr) continue;
    Target& t = targets[i].emplace(target(bars, i, params, unit));
    try {
      if (!open_buffer(column, t, sources[i])) return false;
    } catch (const PyErrorPending&) {
      PyErr_Clear();
      return false;
    }
    const Py_buffer& v = sources[i].buffer.view();
    const std::optional<Format> f = usable_format(v, t.is_time());
    if (!f || f->size > 8) return false;
    if (n >= 0 && v.shape[0] != n) return false;
    formats[i] = *f;
    n = v.shape[0];
  }
  for (const std::optional<Target>& t : targets) {
    if (t) t->ensure(static_cast<std::size_t>(n));
  }
  bars.resize(static_cast<std::size_t>(n));  // volumes 0.0 without a volume column
  for (std::size_t i = 0; i < kColumns; ++i) {
    if (targets[i]) targets[i]->read(sources[i].buffer, formats[i], 0, n);
  }
  return true;
}

}  // namespace

char dtype_kind(PyObject* o) {
  Ref dtype = optional_attr(o, "dtype");
  if (!dtype) return 0;
  Ref kind = optional_attr(dtype.get(), "kind");
  if (!kind || !PyUnicode_Check(kind.get()) || PyUnicode_GetLength(kind.get()) != 1) return 0;
  const Py_UCS4 letter = PyUnicode_ReadChar(kind.get(), 0);
  return letter < 128 ? static_cast<char>(letter) : 0;
}

std::vector<std::int64_t> time_column(PyObject* column, const char* name) {
  BarColumns bars;
  Target t{bars, nullptr, name, TimeScale::of_unit(1)};
  const std::size_t n = read_column(column, t);
  std::vector<std::int64_t> times = std::move(bars.time());
  times.resize(n);
  return times;
}

BarColumns bars_from_columns(Args& args, const Params& params) {
  if (params.size() != kColumns + 1) throw Panic("bars_from_columns takes six columns and a unit");
  const TimeScale unit = TimeScale::of_unit(args.units_per_second(kUnit));
  BarColumns bars;
  if (read_buffers(args, params, unit, bars)) return bars;
  bars.resize(0);
  // One column after the other, each read whole, so that the first column in parameter order that
  // cannot be read is the one reported.
  std::size_t lengths[kColumns] = {};
  for (std::size_t i = 0; i < kColumns; ++i) {
    PyObject* column = args.object(i);
    if (column == nullptr) continue;  // no volume column: volumes stay 0.0
    Target t = target(bars, i, params, unit);
    lengths[i] = read_column(column, t);
  }
  bool same = true;
  for (std::size_t i = 1; i < kColumns; ++i) same = same && (args.object(i) == nullptr || lengths[i] == lengths[0]);
  if (!same) {
    std::string message = "columns differ in length:";
    for (std::size_t i = 0; i < kColumns; ++i) {
      if (args.object(i) == nullptr) continue;
      message += (i == 0 ? " " : ", ") + std::string(params[i].name) + " " + std::to_string(lengths[i]);
    }
    raise(PyExc_ValueError, message);
  }
  bars.resize(lengths[0]);
  return bars;
}

}  // namespace qcpy
