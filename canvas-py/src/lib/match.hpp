// Matches a call's positional and keyword arguments to a row's parameters.
#pragma once

#include <array>

#include "params.hpp"
#include "py.hpp"

namespace qcpy {

// How errors name the function: "Chart.colors()", "Chart.__new__()", "RuntimeTheme.from_preset()", and a
// module function, whose class is "", "save_pdf()".
struct FunctionName {
  const char* cls;
  const char* func;
};

// Keyword arguments in either calling convention: vectorcall names with their values, or a dict.
struct KeywordArgs {
  PyObject* names = nullptr;            // tuple of str, or null
  PyObject* const* values = nullptr;    // values for `names`, in order
  PyObject* dict = nullptr;             // dict, or null

  static KeywordArgs fastcall(PyObject* kwnames, PyObject* const* args, Py_ssize_t nargs) {
    return {kwnames, kwnames != nullptr ? args + nargs : nullptr, nullptr};
  }
  static KeywordArgs from_dict(PyObject* kwargs) { return {nullptr, nullptr, kwargs}; }
};

// The matched argument per parameter (null = not given), owned: conversions run Python code that could
// otherwise drop the last reference to an argument (by clearing the caller's kwargs dict, say).
class Slots {
 public:
  Slots() = default;
  Slots(const Slots&) = delete;
  Slots& operator=(const Slots&) = delete;
  ~Slots() {
    for (PyObject* p : items_) Py_XDECREF(p);
  }
  PyObject* operator[](std::size_t i) const { return items_[i]; }
  // Stores a reference to value; false when the slot was already filled.
  bool fill(std::size_t i, PyObject* value) {
    if (items_[i] != nullptr) return false;
    items_[i] = Py_NewRef(value);
    return true;
  }

 private:
  std::array<PyObject*, kMaxParams> items_{};
};

// Fills `slots` or raises TypeError with the interpreter-style text (throws PyErrorPending): too many
// positional arguments, unexpected keyword, multiple values, missing required arguments.
void match(const Params& params, FunctionName name, PyObject* const* args, Py_ssize_t nargs,
           const KeywordArgs& keywords, Slots& slots);

}  // namespace qcpy
