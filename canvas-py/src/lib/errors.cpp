// Internal-failure reporting and the pending-error exception.
#include "errors.hpp"

#include <cstring>

namespace qcpy {

void throw_pending() {
  if (!PyErr_Occurred()) PyErr_SetString(PyExc_SystemError, "attempted to fetch exception but none was set");
  throw PyErrorPending{};
}

void throw_type_error(const std::string& message) {
  PyErr_SetString(PyExc_TypeError, message.c_str());
  throw PyErrorPending{};
}

PyObject* panic_exception_type() {
  // Never released: raised exceptions may outlive any module state.
  static PyObject* type = nullptr;
  if (type == nullptr) {
    type = PyErr_NewExceptionWithDoc("quorvel_canvas.PanicException",
                                     "An internal failure (a broken invariant) inside quorvel_canvas.",
                                     PyExc_BaseException, nullptr);
  }
  return type;
}

void raise_panic(const char* message) noexcept {
  PySys_FormatStderr("quorvel_canvas: internal failure: %s\n", message);
  PyObject* type = panic_exception_type();
  if (type == nullptr) return;  // the failure to create it is pending instead
  PyObject* text = PyUnicode_DecodeUTF8(message, static_cast<Py_ssize_t>(std::strlen(message)), "replace");
  if (text == nullptr) return;
  PyErr_SetObject(type, text);
  Py_DECREF(text);
}

}  // namespace qcpy
