// Thin C++ helpers over the CPython API: owned references and "a Python error is pending" as an exception.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <cstdint>
#include <string_view>
#include <utility>

namespace qcpy {

// Thrown after a Python exception has been set; the boundary of every entry turns it into a null return.
struct PyErrorPending {};

// Throws PyErrorPending; if nothing is pending, first sets the SystemError CPython uses for that case.
[[noreturn]] void throw_pending();

// One owned reference.
class Ref {
 public:
  Ref() = default;
  // Takes over a new reference; a null one means the call that made it failed.
  static Ref steal(PyObject* p) {
    if (p == nullptr) throw_pending();
    return Ref(p);
  }
  static Ref borrow(PyObject* p) { return Ref(Py_NewRef(p)); }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Ref& operator=(Ref&& o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~Ref() { Py_XDECREF(p_); }

  PyObject* get() const { return p_; }
  PyObject* release() { return std::exchange(p_, nullptr); }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  explicit Ref(PyObject* p) : p_(p) {}
  PyObject* p_ = nullptr;
};

// Results of method bodies, as new references.
inline PyObject* none() { return Py_NewRef(Py_None); }
inline PyObject* to_py(bool v) { return Py_NewRef(v ? Py_True : Py_False); }
inline PyObject* to_py(double v) { return Ref::steal(PyFloat_FromDouble(v)).release(); }
inline PyObject* to_py(std::int64_t v) {
  static_assert(sizeof(long long) == sizeof(std::int64_t));
  return Ref::steal(PyLong_FromLongLong(v)).release();
}
inline PyObject* to_py(std::string_view text) {
  return Ref::steal(PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()))).release();
}

}  // namespace qcpy
