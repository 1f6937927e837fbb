// Reading numbers from buffers: struct formats of integers and floats in either byte order, any stride.
#include "buffers.hpp"

#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>
#include <new>
#include <type_traits>

#include "columns.hpp"
#include "dates.hpp"
#include "errors.hpp"

namespace qcpy {
namespace {

[[noreturn]] void overflow(const char* name, const std::string& what) {
  PyErr_SetString(PyExc_OverflowError, (std::string("argument '") + name + "': " + what).c_str());
  throw PyErrorPending{};
}

// The one-item struct formats of integers and floats, with an optional byte-order prefix.
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
  const char* buf;
  Py_ssize_t stride;
  Py_ssize_t begin;
  Py_ssize_t end;

  Range(const Buffer& b, Py_ssize_t first, Py_ssize_t last)
      : buf(static_cast<const char*>(b.view().buf)), stride(b.stride()), begin(first), end(last) {}
  const char* item(Py_ssize_t i) const { return buf + i * stride; }
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
void integers_as_floats(const Range& r, bool swap, Strided<double> out) {
  // As the interpreter turns an int into a float: the nearest double.
  each_item<T>(r, swap, [&](std::size_t i, T x) { out.put(i, static_cast<double>(x)); });
}

template <class T>
void integers_as_int64(const Range& r, bool swap, Strided<std::int64_t> out, const char* name) {
  each_item<T>(r, swap, [&](std::size_t i, T x) {
    if constexpr (std::is_unsigned_v<T> && sizeof(T) == 8) {
      if (x > static_cast<T>(std::numeric_limits<std::int64_t>::max())) {
        overflow(name, std::to_string(x) + " does not fit a signed 64-bit timestamp");
      }
    }
    out.put(i, static_cast<std::int64_t>(x));
  });
}

void floats_as_floats(const Range& r, const Format& f, Strided<double> out, const char* name) {
  switch (f.size) {
    case 2: {
      const int little = std::endian::native == std::endian::little ? !f.swap : f.swap;
      for (Py_ssize_t i = r.begin; i < r.end; ++i) {
        const double x = PyFloat_Unpack2(r.item(i), little);
        if (x == -1.0 && PyErr_Occurred()) throw PyErrorPending{};
        out.put(static_cast<std::size_t>(i), x);
      }
      return;
    }
    case 4: each_item<float>(r, f.swap, [&](std::size_t i, float x) { out.put(i, x); }); return;
    case 8: each_item<double>(r, f.swap, [&](std::size_t i, double x) { out.put(i, x); }); return;
    default: break;
  }
  if (f.size != sizeof(long double)) throw Panic("a float width without a reader");
  for (Py_ssize_t i = r.begin; i < r.end; ++i) {
    long double x;
    std::memcpy(&x, r.item(i), sizeof x);
    if (std::isfinite(x) && std::fabs(x) > static_cast<long double>(DBL_MAX)) {
      overflow(name, "a long double item is out of range for a float");
    }
    out.put(static_cast<std::size_t>(i), static_cast<double>(x));
  }
}

bool is_object_format(const Py_buffer& v) {
  return v.format != nullptr && (std::strcmp(v.format, "O") == 0 || std::strcmp(v.format, "@O") == 0);
}

}  // namespace

bool Buffer::get(PyObject* o) {
  release();
  if (!PyObject_CheckBuffer(o)) return false;
  if (PyObject_GetBuffer(o, &view_, PyBUF_STRIDES | PyBUF_FORMAT) < 0) {
    PyErr_Clear();
    return false;
  }
  held_ = true;
  return true;
}

std::optional<Format> number_format(const Py_buffer& v) {
  if (v.ndim != 1) return std::nullopt;
  const std::optional<Format> f = parse_format(v.format != nullptr ? v.format : "B");
  if (!f || f->size != v.itemsize) return std::nullopt;
  if (f->sort != Sort::floating && f->size != 1 && f->size != 2 && f->size != 4 && f->size != 8) return std::nullopt;
  return f;
}

std::string format_text(const Py_buffer& v) { return v.format != nullptr ? v.format : "B"; }

void read_floats(const Buffer& b, const Format& f, Py_ssize_t begin, Py_ssize_t end, Strided<double> out,
                 const char* name) {
  const Range r(b, begin, end);
  if (f.sort == Sort::floating) return floats_as_floats(r, f, out, name);
  const bool is_signed = f.sort == Sort::signed_int;
  switch (f.size) {
    case 1: return is_signed ? integers_as_floats<std::int8_t>(r, f.swap, out)
                             : integers_as_floats<std::uint8_t>(r, f.swap, out);
    case 2: return is_signed ? integers_as_floats<std::int16_t>(r, f.swap, out)
                             : integers_as_floats<std::uint16_t>(r, f.swap, out);
    case 4: return is_signed ? integers_as_floats<std::int32_t>(r, f.swap, out)
                             : integers_as_floats<std::uint32_t>(r, f.swap, out);
    case 8: return is_signed ? integers_as_floats<std::int64_t>(r, f.swap, out)
                             : integers_as_floats<std::uint64_t>(r, f.swap, out);
    default: throw Panic("an integer width without a reader");
  }
}

void read_integers(const Buffer& b, const Format& f, Py_ssize_t begin, Py_ssize_t end, Strided<std::int64_t> out,
                   const char* name) {
  const Range r(b, begin, end);
  const bool is_signed = f.sort == Sort::signed_int;
  switch (f.sort == Sort::floating ? 0 : f.size) {
    case 1: return is_signed ? integers_as_int64<std::int8_t>(r, f.swap, out, name)
                             : integers_as_int64<std::uint8_t>(r, f.swap, out, name);
    case 2: return is_signed ? integers_as_int64<std::int16_t>(r, f.swap, out, name)
                             : integers_as_int64<std::uint16_t>(r, f.swap, out, name);
    case 4: return is_signed ? integers_as_int64<std::int32_t>(r, f.swap, out, name)
                             : integers_as_int64<std::uint32_t>(r, f.swap, out, name);
    case 8: return is_signed ? integers_as_int64<std::int64_t>(r, f.swap, out, name)
                             : integers_as_int64<std::uint64_t>(r, f.swap, out, name);
    default: throw Panic("integers read from a buffer without integers");
  }
}

Ref optional_attr(PyObject* o, const char* name) {
  PyObject* value = PyObject_GetAttrString(o, name);
  if (value != nullptr) return Ref::steal(value);
  if (!PyErr_ExceptionMatches(PyExc_AttributeError)) throw PyErrorPending{};
  PyErr_Clear();
  return Ref();
}

bool plain_buffer(PyObject* o, Buffer& buffer) {
  if (!buffer.get(o)) return false;
  if (!is_object_format(buffer.view())) return true;
  buffer.release();
  return false;
}

bool column_buffer(PyObject* o, Buffer& buffer, Ref& array) {
  if (plain_buffer(o, buffer)) return true;
  Ref method = optional_attr(o, "__array__");
  if (!method) return false;
  array = Ref::steal(PyObject_CallNoArgs(method.get()));
  return plain_buffer(array.get(), buffer);
}

bool is_masked(PyObject* o) { return type_is(Py_TYPE(o), "numpy", "MaskedArray"); }

Ref unmasked(PyObject* o) {
  if (!is_masked(o)) return Ref();
  const char kind = dtype_kind(o);
  if (kind == 'b') return Ref::steal(PyObject_CallMethod(o, "filled", "O", Py_False));
  if (kind != 'i' && kind != 'u' && kind != 'f' && kind != 'c') return Ref();
  Ref numbers = kind == 'i' || kind == 'u' ? Ref::steal(PyObject_CallMethod(o, "astype", "s", "float64")) : Ref::borrow(o);
  return Ref::steal(PyObject_CallMethod(numbers.get(), "filled", "d", std::numeric_limits<double>::quiet_NaN()));
}

bool any_masked(PyObject* o) {
  Ref mask = Ref::steal(PyObject_GetAttrString(o, "mask"));
  Ref any = Ref::steal(PyObject_CallMethod(mask.get(), "any", nullptr));
  const int truth = PyObject_IsTrue(any.get());
  if (truth < 0) throw PyErrorPending{};
  return truth != 0;
}

std::optional<qc::model::Values> floats_of_buffer(PyObject* o, const char* name) {
  const Ref plain = unmasked(o);
  if (plain) o = plain.get();
  Buffer buffer;
  Ref array;
  if (!column_buffer(o, buffer, array)) return std::nullopt;
  const std::string format = format_text(buffer.view());
  // numpy's complex formats: "Zf", "Zd", "Zg", after a byte order if any. Read item by item, numpy's complex
  // items would lose their imaginary parts to a warning.
  if (format.find('Z') != std::string::npos) {
    // Without the argument's name: the callers prefix every TypeError of a conversion with it.
    PyErr_Format(PyExc_TypeError, "expected real numbers, got complex numbers (format '%s')", format.c_str());
    throw PyErrorPending{};
  }
  const std::optional<Format> f = number_format(buffer.view());
  // Long doubles go item by item, through their own float conversion, as any other sequence's items.
  if (!f || f->size > 8) return std::nullopt;
  const Py_ssize_t n = buffer.size();
  if (static_cast<std::size_t>(n) > qc::model::Values().max_size()) throw std::bad_alloc();
  qc::model::Values values(static_cast<std::size_t>(n));
  read_floats(buffer, *f, 0, n, {reinterpret_cast<char*>(values.data()), sizeof(double)}, name);
  return values;
}

}  // namespace qcpy
