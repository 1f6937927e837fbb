// Type objects from PyType_Spec.
#include "class.hpp"

#include <string>

#include "errors.hpp"
#include "signature.hpp"

namespace qcpy {
namespace {

PyObject* no_constructor(PyTypeObject* type, PyObject*, PyObject*) {
  return boundary([&]() -> PyObject* {
    Ref name = Ref::steal(PyType_GetName(type));
    PyErr_Format(PyExc_TypeError, "No constructor defined for %U", name.get());
    throw PyErrorPending{};
  });
}

// One null-terminated table from the method groups; kept for the process like the type.
PyMethodDef* join_methods(const std::vector<MethodGroup>& groups) {
  std::size_t n = 0;
  for (const auto& g : groups) n += g.defs.size();
  auto* table = new PyMethodDef[n + 1];
  std::size_t i = 0;
  for (const auto& g : groups) {
    for (const PyMethodDef& def : g.defs) table[i++] = def;
  }
  table[i] = PyMethodDef{nullptr, nullptr, 0, nullptr};
  return table;
}

}  // namespace

PyTypeObject* make_type(const ClassSpec& c) {
  std::vector<PyType_Slot> slots;
  auto add = [&](int slot, auto* fn) {
    if (fn != nullptr) slots.push_back({slot, reinterpret_cast<void*>(fn)});
  };
  add(Py_tp_dealloc, c.dealloc);
  add(Py_tp_new, c.constructor != nullptr ? c.constructor : no_constructor);
  add(Py_tp_repr, c.repr);
  if (const char* doc = class_doc(c.name, c.constructor_params, c.doc); doc != nullptr) {
    slots.push_back({Py_tp_doc, const_cast<char*>(doc)});
  }
  if (!c.methods.empty()) slots.push_back({Py_tp_methods, join_methods(c.methods)});
  if (c.properties.defs != nullptr) slots.push_back({Py_tp_getset, const_cast<PyGetSetDef*>(c.properties.defs)});
  slots.push_back({0, nullptr});

  // No base-type flag: the classes cannot be subclassed from Python.
  PyType_Spec spec{keep(std::string(kModuleName) + "." + c.name), static_cast<int>(c.basicsize), 0, Py_TPFLAGS_DEFAULT,
                   slots.data()};
  return reinterpret_cast<PyTypeObject*>(Ref::steal(PyType_FromSpec(&spec)).release());
}

}  // namespace qcpy
