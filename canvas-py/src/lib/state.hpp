// The bytes a pickled object carries: fixed-width little-endian fields, so that every bit of a float
// (NaN payloads, the sign of zero) and every timestamp survive, whatever the protocol or the machine.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "py.hpp"

namespace qcpy {

class StateWriter {
 public:
  void u64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out_ += static_cast<char>((v >> (8 * i)) & 0xffu);
  }
  void i64(std::int64_t v) { u64(static_cast<std::uint64_t>(v)); }
  void f64(double v) { u64(std::bit_cast<std::uint64_t>(v)); }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

// Reads a state of exactly `size` bytes; any other size raises ValueError naming the class.
class StateReader {
 public:
  StateReader(std::string_view state, const char* cls, std::size_t size) : in_(state) {
    if (state.size() != size) {
      PyErr_Format(PyExc_ValueError, "a pickled %s carries %zu bytes, not %zu", cls, size, state.size());
      throw PyErrorPending{};
    }
  }
  std::uint64_t u64() {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= std::uint64_t{static_cast<unsigned char>(in_[pos_ + i])} << (8 * i);
    pos_ += 8;
    return v;
  }
  std::int64_t i64() { return static_cast<std::int64_t>(u64()); }
  double f64() { return std::bit_cast<double>(u64()); }

 private:
  std::string_view in_;
  std::size_t pos_ = 0;
};

}  // namespace qcpy
