// The module function `_restore` and the classes it knows.
#include "pickle.hpp"

#include <cstring>
#include <vector>

namespace qcpy {
namespace {

struct Restorer {
  const char* name;
  RestoreFn restore;
};

std::vector<Restorer>& restorers() {
  static auto* list = new std::vector<Restorer>;  // for the process, like the classes
  return *list;
}

PyObject* the_function = nullptr;

// _restore(cls, state): only the classes that pickle, only bytes.
PyObject* restore_entry(PyObject*, PyObject* const* args, Py_ssize_t nargs) {
  return boundary([&]() -> PyObject* {
    if (nargs != 2) {
      PyErr_Format(PyExc_TypeError, "_restore() takes 2 positional arguments but %zd were given", nargs);
      throw PyErrorPending{};
    }
    if (!PyBytes_Check(args[1])) {
      PyErr_Format(PyExc_TypeError, "_restore() argument 2 must be bytes, not %s", Py_TYPE(args[1])->tp_name);
      throw PyErrorPending{};
    }
    const std::string_view state(PyBytes_AS_STRING(args[1]), static_cast<std::size_t>(PyBytes_GET_SIZE(args[1])));
    if (PyType_Check(args[0])) {
      auto* cls = reinterpret_cast<PyTypeObject*>(args[0]);
      for (const Restorer& r : restorers()) {
        if (PyObject* made = r.restore(cls, state); made != nullptr) return made;
      }
    }
    PyErr_Format(PyExc_TypeError, "_restore() argument 1 must be a quorvel_canvas class that pickles, not %R", args[0]);
    throw PyErrorPending{};
  });
}

PyMethodDef restore_method = {"_restore", as_cfunction(&restore_entry), METH_FASTCALL,
                              "_restore(cls, state, /)\n--\n\nMakes a pickled object again from its class and state."};

}  // namespace

void register_restore(const char* name, RestoreFn restore) {
  for (const Restorer& r : restorers()) {
    if (std::strcmp(r.name, name) == 0) return;
  }
  restorers().push_back({name, restore});
}

void add_restore(PyObject* module) {
  Ref name = Ref::steal(PyModule_GetNameObject(module));
  Ref fn = Ref::steal(PyCFunction_NewEx(&restore_method, module, name.get()));
  if (PyObject_SetAttrString(module, restore_method.ml_name, fn.get()) < 0) throw PyErrorPending{};
  Py_XSETREF(the_function, fn.release());
}

PyObject* restore_function() {
  if (the_function == nullptr) throw Panic("the module has no _restore function");
  return Py_NewRef(the_function);
}

}  // namespace qcpy
