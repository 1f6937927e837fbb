// Storage that lends a fresh str's own buffer to a document writer, so the document is written once.
#pragma once

#include <cstddef>
#include <utility>

#include "api/chart_renderer.hpp"
#include "py.hpp"
#include "util/text_buffer.hpp"

namespace qcpy {

// The document is written straight into the str that returns it: a fresh ASCII str of the estimated size,
// grown if that falls short and shrunk to the document at the end. A document that holds other bytes (a
// caller's text) goes through the interpreter's UTF-8 decoder instead.
class StrStorage final : public qc::util::TextStorage {
 public:
  StrStorage() = default;
  StrStorage(const StrStorage&) = delete;
  StrStorage& operator=(const StrStorage&) = delete;
  ~StrStorage() { Py_XDECREF(str_); }

  // A refusal leaves no exception pending: the renderer may ask again for less, and one it cannot recover
  // from reaches the boundary as std::bad_alloc, which raises MemoryError there.
  char* grow(std::size_t, std::size_t capacity) override {
    const auto n = static_cast<Py_ssize_t>(capacity);
    const bool had = str_ == nullptr ? (str_ = PyUnicode_New(n, 127)) != nullptr : PyUnicode_Resize(&str_, n) == 0;
    if (!had) {
      PyErr_Clear();
      return nullptr;  // the str, if there is one, is left as it was
    }
    return reinterpret_cast<char*>(PyUnicode_1BYTE_DATA(str_));
  }

  PyObject* finish(const qc::api::DocumentInfo& doc) {
    const auto size = static_cast<Py_ssize_t>(doc.size);
    if (!doc.ascii) {
      return PyUnicode_DecodeUTF8(reinterpret_cast<const char*>(PyUnicode_1BYTE_DATA(str_)), size, "strict");
    }
    if (PyUnicode_Resize(&str_, size) < 0) return nullptr;
    return std::exchange(str_, nullptr);
  }

 private:
  PyObject* str_ = nullptr;
};

}  // namespace qcpy
