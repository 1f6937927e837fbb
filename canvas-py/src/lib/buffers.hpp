// Numbers straight from the buffer protocol: the item formats the module reads, and the one reader of
// them that columns and number lists share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "model/values.hpp"
#include "py.hpp"

namespace qcpy {

// One held buffer view, released with the object.
class Buffer {
 public:
  Buffer() = default;
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  ~Buffer() { release(); }
  // False (with no error pending) when the object refuses a strided buffer with a format.
  bool get(PyObject* o);
  void release() {
    if (held_) PyBuffer_Release(&view_);
    held_ = false;
  }
  const Py_buffer& view() const { return view_; }
  // The items' distance in bytes: a buffer that gives no strides is C-contiguous.
  Py_ssize_t stride() const { return view_.strides != nullptr ? view_.strides[0] : view_.itemsize; }
  // The item count of a one-dimensional buffer (number_format checks that it is one).
  Py_ssize_t size() const { return view_.shape[0]; }

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

// The buffer's item format when it is one-dimensional and holds integers of 1, 2, 4 or 8 bytes or floats
// (half, single, double, long double) in either byte order; none for anything else (bools, chars,
// objects, several items a record).
std::optional<Format> number_format(const Py_buffer& v);

// The format text a message quotes ("B" when the buffer gives none).
std::string format_text(const Py_buffer& v);

// Where items go: item i at base + i x stride bytes (a field of each bar, or a plain array).
template <class T>
struct Strided {
  char* base;
  std::size_t stride;
  void put(std::size_t i, T x) const { std::memcpy(base + i * stride, &x, sizeof x); }
};

// Items [begin, end) of the buffer as floats, each as the interpreter turns an int or a float into a float;
// a long double beyond the float range raises OverflowError naming the argument.
void read_floats(const Buffer& b, const Format& f, Py_ssize_t begin, Py_ssize_t end, Strided<double> out,
                 const char* name);

// Items [begin, end) of an integer buffer as signed 64-bit integers; an unsigned one above that range
// raises OverflowError naming the argument.
void read_integers(const Buffer& b, const Format& f, Py_ssize_t begin, Py_ssize_t end, Strided<std::int64_t> out,
                   const char* name);

// The attribute, or none when the object has no such attribute.
Ref optional_attr(PyObject* o, const char* name);

// The object's own buffer, unless it holds Python objects. False, with nothing pending, when it has none.
bool plain_buffer(PyObject* o, Buffer& buffer);

// The object's own buffer unless it holds Python objects, else that of the array its `__array__` gives,
// which `array` keeps (also when that has no buffer). False, with nothing pending, when neither gives one.
bool column_buffer(PyObject* o, Buffer& buffer, Ref& array);

// Whether the object is a numpy masked array.
bool is_masked(PyObject* o);

// A numpy masked array as the plain array it stands for, its masked items missing: NaN among numbers
// (integers read as floats), False in a mask of booleans. Null for any other object, and for a masked array
// of other items, which is read from its data (timestamps refuse a masked item themselves).
Ref unmasked(PyObject* o);

// Whether any item of a masked array is masked.
bool any_masked(PyObject* o);

// The floats of a one-dimensional column buffer (see column_buffer) of integers or floats up to 8 bytes;
// none when the object is to be read item by item. A masked array's masked items are NaN; complex numbers
// raise TypeError, which the caller prefixes with the argument's name.
std::optional<qc::model::Values> floats_of_buffer(PyObject* o, const char* name);

}  // namespace qcpy
