// Reading columns: the buffer protocol first, then `__array__`, then the sequence protocol; every item
// converted as the Bar constructor converts its argument, written into the bar list without a copy of the
// column in between.
#include "columns.hpp"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <type_traits>
#include <string>

#include "convert.hpp"
#include "errors.hpp"
#include "util/huge_pages.hpp"

namespace qcpy {
namespace {

using qc::model::Bar;

constexpr const char* kSecondsHint =
    "; pass integer seconds (from a pandas DatetimeIndex: df.index.as_unit(\"s\").asi8)";

// Where a column's items go: the timestamps or one price field of every bar. The list grows to the
// longest column; lengths are compared once every column is read.
struct Target {
  std::vector<Bar>& bars;
  double Bar::*field;  // null: the timestamps
  const char* name;

  bool is_time() const { return field == nullptr; }
  // A new list of a million bars is 48 MB touched for the first time: large pages spare most faults.
  void ensure(std::size_t n) const {
    if (bars.capacity() < n) {
      bars.reserve(n);
      qc::util::advise_huge_pages(bars.data(), n * sizeof(Bar));
    }
    if (bars.size() < n) bars.resize(n);
  }
};

[[noreturn]] void raise(PyObject* type, const std::string& message) {
  PyErr_SetString(type, message.c_str());
  throw PyErrorPending{};
}

[[noreturn]] void not_seconds(const Target& t, const std::string& what) {
  raise(PyExc_TypeError, std::string("argument '") + t.name + "': expected integer seconds since the epoch, got " +
                             what + kSecondsHint);
}

[[noreturn]] void not_numbers(const Target& t, const std::string& what) {
  if (t.is_time()) not_seconds(t, what);
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

// ---- buffers ------------------------------------------------------------------------------------------

class Buffer {
 public:
  Buffer() = default;
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  ~Buffer() {
    if (held_) PyBuffer_Release(&view_);
  }
  // False (with no error pending) when the object refuses a strided buffer with a format.
  bool get(PyObject* o) {
    if (!PyObject_CheckBuffer(o)) return false;
    if (PyObject_GetBuffer(o, &view_, PyBUF_STRIDES | PyBUF_FORMAT) < 0) {
      PyErr_Clear();
      return false;
    }
    held_ = true;
    return true;
  }
  const Py_buffer& view() const { return view_; }

 private:
  Py_buffer view_{};
  bool held_ = false;
};

enum class Sort : std::uint8_t { signed_int, unsigned_int, floating };

struct Format {
  Sort sort;
  Py_ssize_t size;
  bool swap;  // stored in the other byte order than this machine's
};

// The one-item struct formats of integers and floats, with an optional byte-order prefix; anything else
// (bools, chars, objects, several items) is none.
std::optional<Format> parse_format(const char* text) {
  char order = '@';
  if (text[0] != '\0' && std::strchr("@=<>!", text[0]) != nullptr) order = *text++;
  if (text[0] == '\0' || text[1] != '\0') return std::nullopt;
  const bool native = order == '@';
  constexpr bool little = std::endian::native == std::endian::little;
  const bool swap = (order == '<' && !little) || ((order == '>' || order == '!') && little);
  auto sized = [&](Sort sort, Py_ssize_t native_size, Py_ssize_t standard_size) -> std::optional<Format> {
    return Format{sort, native ? native_size : standard_size, swap};
  };
  switch (text[0]) {
    case 'b': return sized(Sort::signed_int, 1, 1);
    case 'B': return sized(Sort::unsigned_int, 1, 1);
    case 'h': return sized(Sort::signed_int, sizeof(short), 2);
    case 'H': return sized(Sort::unsigned_int, sizeof(short), 2);
    case 'i': return sized(Sort::signed_int, sizeof(int), 4);
    case 'I': return sized(Sort::unsigned_int, sizeof(int), 4);
    case 'l': return sized(Sort::signed_int, sizeof(long), 4);
    case 'L': return sized(Sort::unsigned_int, sizeof(long), 4);
    case 'q': return sized(Sort::signed_int, sizeof(long long), 8);
    case 'Q': return sized(Sort::unsigned_int, sizeof(long long), 8);
    case 'n':
      if (native) return sized(Sort::signed_int, sizeof(Py_ssize_t), 0);
      return std::nullopt;
    case 'N':
      if (native) return sized(Sort::unsigned_int, sizeof(std::size_t), 0);
      return std::nullopt;
    case 'e': return sized(Sort::floating, 2, 2);
    case 'f': return sized(Sort::floating, 4, 4);
    case 'd': return sized(Sort::floating, 8, 8);
    case 'g':
      if (native) return sized(Sort::floating, sizeof(long double), 0);
      return std::nullopt;
    default: return std::nullopt;
  }
}

template <class U>
U load_bits(const char* p, bool swap) {
  U v;
  std::memcpy(&v, p, sizeof v);
  if (!swap) return v;
  if constexpr (sizeof(U) == 1) {
    return v;
  } else if constexpr (sizeof(U) == 2) {
    return __builtin_bswap16(v);
  } else if constexpr (sizeof(U) == 4) {
    return __builtin_bswap32(v);
  } else {
    return __builtin_bswap64(v);
  }
}

template <std::size_t N>
using Bits = std::conditional_t<N == 1, std::uint8_t,
                                std::conditional_t<N == 2, std::uint16_t,
                                                    std::conditional_t<N == 4, std::uint32_t, std::uint64_t>>>;

// Items [begin, end) of a one-dimensional buffer.
struct Range {
  const Py_buffer& view;
  Py_ssize_t begin;
  Py_ssize_t end;

  const char* item(Py_ssize_t i) const { return static_cast<const char*>(view.buf) + i * view.strides[0]; }
};

// Runs put(i, value) for every item of the range; value is the item as T (an integer type or a float).
template <class T, class Put>
void each_item(const Range& r, bool swap, Put&& put) {
  for (Py_ssize_t i = r.begin; i < r.end; ++i) {
    const auto bits = load_bits<Bits<sizeof(T)>>(r.item(i), swap);
    put(static_cast<std::size_t>(i), std::bit_cast<T>(bits));
  }
}

template <class T>
void integers_into(const Range& r, const Format& f, const Target& t) {
  if (t.is_time()) {
    each_item<T>(r, f.swap, [&](std::size_t i, T x) {
      if constexpr (std::is_unsigned_v<T> && sizeof(T) == 8) {
        if (x > static_cast<T>(std::numeric_limits<std::int64_t>::max())) {
          raise(PyExc_OverflowError, std::string("argument '") + t.name + "': " + std::to_string(x) +
                                         " does not fit a signed 64-bit timestamp");
        }
      }
      t.bars[i].timestamp = static_cast<std::int64_t>(x);
    });
  } else {
    // As the interpreter turns an int into a float: the nearest double.
    each_item<T>(r, f.swap, [&](std::size_t i, T x) { t.bars[i].*t.field = static_cast<double>(x); });
  }
}

void floats_into(const Range& r, const Format& f, const Target& t) {
  switch (f.size) {
    case 2: {
      const int little = std::endian::native == std::endian::little ? !f.swap : f.swap;
      for (Py_ssize_t i = r.begin; i < r.end; ++i) {
        const double x = PyFloat_Unpack2(r.item(i), little);
        if (x == -1.0 && PyErr_Occurred()) throw PyErrorPending{};
        t.bars[static_cast<std::size_t>(i)].*t.field = x;
      }
      return;
    }
    case 4: each_item<float>(r, f.swap, [&](std::size_t i, float x) { t.bars[i].*t.field = x; }); return;
    case 8: each_item<double>(r, f.swap, [&](std::size_t i, double x) { t.bars[i].*t.field = x; }); return;
    default: break;
  }
  if (f.size != sizeof(long double)) throw Panic("a float width without a reader");
  for (Py_ssize_t i = r.begin; i < r.end; ++i) {
    long double x;
    std::memcpy(&x, r.item(i), sizeof x);
    if (std::isfinite(x) && std::fabs(x) > static_cast<long double>(DBL_MAX)) {
      raise(PyExc_OverflowError, std::string("argument '") + t.name + "': a long double item is out of range for a float");
    }
    t.bars[static_cast<std::size_t>(i)].*t.field = static_cast<double>(x);
  }
}

void fill(const Range& r, const Format& f, const Target& t) {
  if (f.sort == Sort::floating) return floats_into(r, f, t);
  const bool is_signed = f.sort == Sort::signed_int;
  switch (f.size) {
    case 1: return is_signed ? integers_into<std::int8_t>(r, f, t) : integers_into<std::uint8_t>(r, f, t);
    case 2: return is_signed ? integers_into<std::int16_t>(r, f, t) : integers_into<std::uint16_t>(r, f, t);
    case 4: return is_signed ? integers_into<std::int32_t>(r, f, t) : integers_into<std::uint32_t>(r, f, t);
    case 8: return is_signed ? integers_into<std::int64_t>(r, f, t) : integers_into<std::uint64_t>(r, f, t);
    default: throw Panic("an integer width without a reader");
  }
}

// The buffer's item format when the column can take it; none for a format it cannot take or a buffer
// that is not one-dimensional (checked_format says why).
std::optional<Format> usable_format(const Py_buffer& v, bool time) {
  if (v.ndim != 1) return std::nullopt;
  const std::optional<Format> f = parse_format(v.format != nullptr ? v.format : "B");
  if (!f || f->size != v.itemsize || (f->sort == Sort::floating && time)) return std::nullopt;
  if (f->sort != Sort::floating && f->size != 1 && f->size != 2 && f->size != 4 && f->size != 8) return std::nullopt;
  return f;
}

Format checked_format(const Py_buffer& v, const Target& t) {
  if (std::optional<Format> f = usable_format(v, t.is_time())) return *f;
  if (v.ndim != 1) wrong_dimensions(t, std::to_string(v.ndim) + " dimensions");
  const std::string format = std::string("a column of format '") + (v.format != nullptr ? v.format : "B") + "'";
  not_numbers(t, format);
}

// Reads a whole buffer column; its length.
std::size_t read_buffer(const Py_buffer& v, const Target& t) {
  const Format f = checked_format(v, t);
  t.ensure(static_cast<std::size_t>(v.shape[0]));
  fill(Range{v, 0, v.shape[0]}, f, t);
  return static_cast<std::size_t>(v.shape[0]);
}

// ---- sequences ----------------------------------------------------------------------------------------

// An item that is itself a column makes the column two-dimensional.
bool is_nested(PyObject* item) {
  return PyObject_CheckBuffer(item) || (PySequence_Check(item) && !PyUnicode_Check(item));
}

void put_item(PyObject* item, std::size_t i, const Target& t) {
  try {
    if (t.is_time()) {
      t.bars[i].timestamp = to_i64(item);
    } else {
      t.bars[i].*t.field = to_f64(item);
    }
  } catch (const PyErrorPending&) {
    if (!PyErr_ExceptionMatches(PyExc_TypeError)) throw;
    if (is_nested(item)) {
      PyErr_Clear();
      wrong_dimensions(t, "nested '" + type_name(item) + "' items");
    }
    if (t.is_time()) {
      PyErr_Clear();
      not_seconds(t, "a '" + type_name(item) + "' item");
    }
    prefix_type_error(t.name);
    throw;
  }
}

std::size_t read_sequence(PyObject* o, const Target& t) {
  if (!PySequence_Check(o)) {
    try {
      throw_not_convertible(o, "Sequence");
    } catch (const PyErrorPending&) {
      prefix_type_error(t.name);
      throw;
    }
  }
  // A list's or tuple's length is backed by its items; any other length is the caller's word and only
  // reserves, so that a wrong one cannot make the list longer than the items.
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
    if (i >= t.bars.size()) t.bars.emplace_back();
    put_item(item.get(), i, t);
  }
}

// ---- one column ---------------------------------------------------------------------------------------

// The attribute, or none when the object has no such attribute.
Ref optional_attr(PyObject* o, const char* name) {
  PyObject* value = PyObject_GetAttrString(o, name);
  if (value != nullptr) return Ref::steal(value);
  if (!PyErr_ExceptionMatches(PyExc_AttributeError)) throw PyErrorPending{};
  PyErr_Clear();
  return Ref();
}

// numpy refuses a buffer for datetime64 and timedelta64 arrays; their dtype tells them apart.
bool is_datetime_array(PyObject* array) {
  Ref dtype = optional_attr(array, "dtype");
  if (!dtype) return false;
  Ref kind = optional_attr(dtype.get(), "kind");
  return kind && PyUnicode_Check(kind.get()) &&
         (PyUnicode_CompareWithASCIIString(kind.get(), "M") == 0 ||
          PyUnicode_CompareWithASCIIString(kind.get(), "m") == 0);
}

bool is_object_format(const Py_buffer& v) {
  return v.format != nullptr && (std::strcmp(v.format, "O") == 0 || std::strcmp(v.format, "@O") == 0);
}

// A buffer of numbers; else, for an object that has one, the array `__array__` gives; else the items.
std::size_t read_column(PyObject* o, const Target& t) {
  {
    Buffer buffer;
    if (buffer.get(o) && !is_object_format(buffer.view())) return read_buffer(buffer.view(), t);
  }
  Ref method = optional_attr(o, "__array__");
  if (!method) return read_sequence(o, t);
  Ref array = Ref::steal(PyObject_CallNoArgs(method.get()));
  if (is_datetime_array(array.get())) not_numbers(t, "a datetime64 column");
  Buffer buffer;
  if (buffer.get(array.get()) && !is_object_format(buffer.view())) return read_buffer(buffer.view(), t);
  return read_sequence(array.get(), t);
}

constexpr double Bar::*kFields[] = {nullptr, &Bar::open, &Bar::high, &Bar::low, &Bar::close, &Bar::volume};
constexpr std::size_t kColumns = std::size(kFields);

// The common way, when every column is a buffer (its own or its `__array__`'s) in a format whose items
// cannot fail to convert, and all have one length: the bars are filled a block at a time, each block
// column by column while it stays in the cache, so the list is written to memory once. False, with
// nothing reported, when the columns need the general way.
bool read_buffers(Args& args, const Params& params, std::vector<Bar>& bars) {
  constexpr Py_ssize_t kBlock = 4096;  // 192 KiB of bars
  Buffer buffers[kColumns];
  Format formats[kColumns] = {};
  Ref arrays[kColumns];
  Py_ssize_t n = -1;
  for (std::size_t i = 0; i < kColumns; ++i) {
    PyObject* column = args.object(i);
    if (column == nullptr) continue;
    if (!buffers[i].get(column)) {
      Ref method = optional_attr(column, "__array__");
      if (!method) return false;
      arrays[i] = Ref::steal(PyObject_CallNoArgs(method.get()));
      if (!buffers[i].get(arrays[i].get())) return false;
    }
    const Py_buffer& v = buffers[i].view();
    const std::optional<Format> f = usable_format(v, kFields[i] == nullptr);
    if (!f || f->size > 8 || (kFields[i] == nullptr && f->sort == Sort::unsigned_int && f->size == 8)) return false;
    if (n >= 0 && v.shape[0] != n) return false;
    formats[i] = *f;
    n = v.shape[0];
  }
  Target{bars, nullptr, params[0].name}.ensure(static_cast<std::size_t>(n));
  for (Py_ssize_t begin = 0; begin < n; begin += kBlock) {
    const Py_ssize_t end = std::min(n, begin + kBlock);
    for (std::size_t i = 0; i < kColumns; ++i) {
      if (args.object(i) == nullptr) continue;
      fill(Range{buffers[i].view(), begin, end}, formats[i], Target{bars, kFields[i], params[i].name});
    }
  }
  return true;
}

}  // namespace

std::vector<Bar> bars_from_columns(Args& args, const Params& params) {
  if (params.size() != kColumns) throw Panic("bars_from_columns takes six columns");
  std::vector<Bar> bars;
  if (read_buffers(args, params, bars)) return bars;
  // One column after the other, each read whole, so that the first column in parameter order that
  // cannot be read is the one reported.
  std::size_t lengths[kColumns] = {};
  for (std::size_t i = 0; i < kColumns; ++i) {
    PyObject* column = args.object(i);
    if (column == nullptr) continue;  // no volume column: volumes stay 0.0
    lengths[i] = read_column(column, Target{bars, kFields[i], params[i].name});
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
