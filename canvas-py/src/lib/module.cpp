// Module entry point of quorvel_canvas: one module object per process, its attributes and __all__.
#include <atomic>
#include <cstdint>

#include "bar.hpp"
#include "chart.hpp"
#include "chart_config.hpp"
#include "errors.hpp"
#include "pickle.hpp"
#include "rows.hpp"
#include "theme.hpp"
#include "viewport.hpp"

namespace qcpy {
namespace {

PyModuleDef module_def = {PyModuleDef_HEAD_INIT, kModuleName, "", 0, nullptr, nullptr, nullptr, nullptr, nullptr};

// The interpreter that imported the module first (-1: none yet) and the module object, kept for the
// process: a re-import returns the same module; other interpreters are refused.
std::atomic<std::int64_t> owner_interpreter{-1};
PyObject* the_module = nullptr;

PyObject* version(PyObject*, PyObject*) { return PyUnicode_FromString(QC_VERSION); }

// Appends the name to the module's __all__ (made when missing), then sets the attribute.
void add(PyObject* module, const char* name, PyObject* value) {
  Ref all;
  if (PyObject* found = PyObject_GetAttrString(module, "__all__"); found != nullptr) {
    all = Ref::steal(found);
  } else {
    if (!PyErr_ExceptionMatches(PyExc_AttributeError)) throw PyErrorPending{};
    PyErr_Clear();
    all = Ref::steal(PyList_New(0));
    if (PyObject_SetAttrString(module, "__all__", all.get()) < 0) throw PyErrorPending{};
  }
  if (!PyList_Check(all.get())) throw_not_convertible(all.get(), "PyList");
  Ref text = Ref::steal(PyUnicode_FromString(name));
  if (PyList_Append(all.get(), text.get()) < 0) {
    PyErr_Clear();
    throw Panic("could not append __name__ to __all__");
  }
  if (PyObject_SetAttrString(module, name, value) < 0) throw PyErrorPending{};
}

template <class Cls>
void add_class(PyObject* module) {
  add(module, Cls::name, reinterpret_cast<PyObject*>(type_object<Cls>()));
}

void add_version(PyObject* module) {
  static PyMethodDef def = {"version", version, METH_NOARGS, method_doc("version", Params{}, false, nullptr)};
  Ref name = Ref::steal(PyModule_GetNameObject(module));
  Ref fn = Ref::steal(PyCFunction_NewEx(&def, module, name.get()));
  add(module, "version", fn.get());
}

// The attributes, in the order of __all__.
void module_body(PyObject* module) {
  add_version(module);
  add_class<BarClass>(module);
  add_class<ChartClass>(module);
  add_class<ViewportClass>(module);
  add_class<ThemeClass>(module);
  add_class<UIThemeClass>(module);
  add_class<RuntimeThemeClass>(module);
  add_class<ChartConfigClass>(module);
  add_restore(module);
}

PyObject* init() {
  const std::int64_t id = PyInterpreterState_GetID(PyInterpreterState_Get());
  if (id == -1) throw_pending();
  std::int64_t expected = -1;
  if (!owner_interpreter.compare_exchange_strong(expected, id) && expected != id) {
    PyErr_SetString(PyExc_ImportError,
                    "quorvel_canvas does not support sub-interpreters: it can be imported by only one "
                    "interpreter per process");
    throw PyErrorPending{};
  }
  if (the_module != nullptr) return Py_NewRef(the_module);
  Ref module = Ref::steal(PyModule_Create(&module_def));
  module_body(module.get());  // on failure the half-built module is released; a later import retries
  the_module = Py_NewRef(module.get());
  return module.release();
}

}  // namespace
}  // namespace qcpy

PyMODINIT_FUNC PyInit_quorvel_canvas() {
  return qcpy::boundary([] { return qcpy::init(); });
}
