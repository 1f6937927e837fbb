// The one boundary between C++ failures and Python exceptions, and the internal-failure exception.
#pragma once

#include <new>
#include <stdexcept>
#include <string>

#include "py.hpp"

namespace qcpy {

// A broken invariant inside the module. Reaches Python as PanicException (a BaseException) after its
// message has been written to standard error.
class Panic : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The PanicException class, created on first use and kept for the life of the process; null if even that
// failed (an exception is then pending).
PyObject* panic_exception_type();

// Writes the message to standard error and sets PanicException(message).
void raise_panic(const char* message) noexcept;

// Raises a TypeError with a message made of the given pieces.
[[noreturn]] void throw_type_error(const std::string& message);

// Runs f and converts every way it can fail into a pending Python exception and the `failure` result:
// PyErrorPending passes the pending exception through, std::bad_alloc becomes MemoryError, any other
// C++ exception a PanicException. Used by every entry point the interpreter calls.
template <class R, class F>
R boundary(R failure, F&& f) noexcept {
  try {
    return f();
  } catch (const PyErrorPending&) {
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& e) {
    raise_panic(e.what());
  } catch (...) {
    raise_panic("unknown internal failure");
  }
  return failure;
}

template <class F>
PyObject* boundary(F&& f) noexcept {
  return boundary<PyObject*>(nullptr, [&]() -> PyObject* {
    PyObject* result = f();
    if (result == nullptr) throw_pending();
    return result;
  });
}

}  // namespace qcpy
