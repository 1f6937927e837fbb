// Pickling and copying of the value classes: `__reduce__` hands pickle the module's `_restore` with the
// class and the object's state as bytes; `_restore(cls, state)` makes the object again.
//
// A class that pickles provides `static std::string state(const Value&)` and
// `static Value from_state(std::string_view)` (which raises ValueError for a state it cannot read), and
// lists `pickle_methods<Cls>()` among its method groups.
#pragma once

#include <string>
#include <string_view>

#include "rows.hpp"

namespace qcpy {

using RestoreFn = PyObject* (*)(PyTypeObject* cls, std::string_view state);

// Enters a class under its name for `_restore`.
void register_restore(const char* name, RestoreFn restore);

// The module function `_restore`, made with the module (a new reference).
PyObject* restore_function();

// Sets the module's `_restore` (outside `__all__`).
void add_restore(PyObject* module);

template <class Cls>
PyObject* restore(PyTypeObject* cls, std::string_view state) {
  if (cls != type_object<Cls>()) return nullptr;
  return new_object<Cls>(Cls::from_state(state));
}

template <class Cls>
PyObject* reduce(Call<Cls>& c) {
  const std::string state = Cls::state(c.value());
  Ref bytes = Ref::steal(PyBytes_FromStringAndSize(state.data(), static_cast<Py_ssize_t>(state.size())));
  Ref fn = Ref::steal(restore_function());
  return Ref::steal(Py_BuildValue("(O(OO))", fn.get(), reinterpret_cast<PyObject*>(Py_TYPE(c.self())), bytes.get()))
      .release();
}

template <class Cls>
inline constexpr MethodRow<Cls> kPickleRows[] = {
    {"__reduce__", "Helper for pickle: the class and the object's state as bytes.", {}, Borrow::shared, reduce<Cls>,
     nullptr, "tuple[Callable[[type[Self], bytes], Self], tuple[type[Self], bytes]]"},
};

template <class Cls>
MethodGroup pickle_methods() {
  register_restore(Cls::name, restore<Cls>);
  return method_defs<kPickleRows<Cls>>();
}

}  // namespace qcpy
