// Module entry point of quorvel_canvas: one module object per process, its attributes and __all__.
#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "api/chart_json.hpp"
#include "bar.hpp"
#include "chart.hpp"
#include "chart_config.hpp"
#include "errors.hpp"
#include "figure.hpp"
#include "module_functions.hpp"
#include "page.hpp"
#include "pickle.hpp"
#include "rows.hpp"
#include "stub.hpp"
#include "theme.hpp"
#include "viewport.hpp"
#include "wasm_core.hpp"

namespace qcpy {
namespace {

constexpr const char* kModuleDoc =
    "Financial price charts from OHLCV bars, each rendered as one SVG document. Make a Chart, give it bars, "
    "add studies, drawing tools and signals, and render_svg() returns the document as a str.";

PyModuleDef module_def = {PyModuleDef_HEAD_INIT, kModuleName, kModuleDoc, 0, nullptr, nullptr, nullptr, nullptr,
                          nullptr};

// The interpreter that imported the module first (-1: none yet) and the module object, kept for the
// process: a re-import returns the same module; other interpreters are refused.
std::atomic<std::int64_t> owner_interpreter{-1};
PyObject* the_module = nullptr;

PyObject* version(PyObject*, PyObject*) { return PyUnicode_FromString(QC_VERSION); }

PyObject* stub_entry(PyObject*, PyObject*);
PyObject* json_keys_entry(PyObject*, PyObject*);

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
  if (!PyList_Check(all.get())) throw_not_convertible(all.get(), "a list");
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

// The module's functions: the one that `__all__` lists, and its return type for the stub.
struct ModuleFunction {
  PyMethodDef def;
  const char* returns;
};

ModuleFunction& version_function() {
  static ModuleFunction f = {
      {"version", version, METH_NOARGS, method_doc("version", Params{}, false, "The module's version")}, "str"};
  return f;
}

void add_function(PyObject* module, PyMethodDef& def) {
  Ref name = Ref::steal(PyModule_GetNameObject(module));
  Ref fn = Ref::steal(PyCFunction_NewEx(&def, module, name.get()));
  add(module, def.ml_name, fn.get());
}

// The functions declared through rows, as module functions: their entries without the static mark the rows
// give a method that has no object.
std::span<PyMethodDef> row_functions() {
  static std::vector<PyMethodDef> defs = [] {
    const MethodGroup group = save_pdf_functions();
    std::vector<PyMethodDef> out(group.defs.begin(), group.defs.end());
    for (PyMethodDef& def : out) def.ml_flags &= ~METH_STATIC;
    return out;
  }();
  return defs;
}

// The classes, in the order of __all__.
template <class... Cls>
struct ClassList {
  static void add_all(PyObject* module) { (add_class<Cls>(module), ...); }
  static std::string names() {
    std::string out;
    for (const char* name : {Cls::name...}) {
      out += ", \"";
      out += name;
      out += '"';
    }
    return out;
  }
  static void append_stubs(std::string& out) { (append_class_stub(out, Cls::spec()), ...); }
};

using Classes =
    ClassList<BarClass, ChartClass, FigureClass, ViewportClass, ThemeClass, UIThemeClass, RuntimeThemeClass, ChartConfigClass,
              InteractiveChartClass>;

// The attributes, in the order of __all__, then the private helpers.
void module_body(PyObject* module) {
  add_function(module, version_function().def);
  for (PyMethodDef& def : row_functions()) add_function(module, def);
  Classes::add_all(module);
  add_restore(module);
  add_png_from_svg(module);
  add_wasm_core(module);
  static PyMethodDef helpers[] = {
      {"_stub", stub_entry, METH_NOARGS, "_stub()\n--\n\nThe module's type stub, as scripts/gen_stubs.py writes it."},
      {"_json_keys", json_keys_entry, METH_NOARGS,
       "_json_keys()\n--\n\nThe chart JSON form's key table, as scripts/gen_json_keys.py writes it into the README."},
  };
  Ref name = Ref::steal(PyModule_GetNameObject(module));
  for (PyMethodDef& def : helpers) {
    Ref fn = Ref::steal(PyCFunction_NewEx(&def, module, name.get()));
    if (PyObject_SetAttrString(module, def.ml_name, fn.get()) < 0) throw PyErrorPending{};
  }
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

// The stub from the function and class rows; its text is what scripts/gen_stubs.py checks in.
PyObject* stub_entry(PyObject*, PyObject*) {
  return boundary([]() -> PyObject* {
    const ModuleFunction& v = version_function();
    std::string functions = "def ";
    functions += v.def.ml_name;
    functions += "() -> ";
    functions += v.returns;
    functions += ":";
    append_body(functions, doc_body(v.def.ml_doc), "    ");
    std::string all = "\"";
    all += v.def.ml_name;
    all += '"';
    for (const MethodInfo& f : save_pdf_functions().infos) {
      append_function_stub(functions, f);
      all += ", \"";
      all += f.name;
      all += '"';
    }
    all += Classes::names();
    std::string out = stub_header(kModuleDoc, all, functions);
    Classes::append_stubs(out);
    return to_py(std::string_view(out));
  });
}

// The key table of the chart's JSON form, from the rows its reader and writer follow.
PyObject* json_keys_entry(PyObject*, PyObject*) {
  return boundary([]() -> PyObject* { return to_py(std::string_view(qc::api::chart_json_keys())); });
}

}  // namespace
}  // namespace qcpy

PyMODINIT_FUNC PyInit_quorvel_canvas() {
  return qcpy::boundary([] { return qcpy::init(); });
}
