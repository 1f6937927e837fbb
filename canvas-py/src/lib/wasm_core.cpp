// The gzipped WebAssembly core, kept built in the repository beside the page's script and taken byte for
// byte into read-only data when the module is built (the build passes its path in QC_WASM_GZ), as the
// fonts are.
#include "wasm_core.hpp"

#include "embed.hpp"
#include "errors.hpp"
#include "py.hpp"

QC_EMBED(qc_wasm_core_gz, QC_WASM_GZ);
QC_EMBEDDED(qc_wasm_core_gz)

namespace qcpy {

std::span<const unsigned char> wasm_core_gz() { return {qc_wasm_core_gz, qc_wasm_core_gz_end}; }

namespace {

PyObject* wasm_core_entry(PyObject*, PyObject*) {
  const std::span<const unsigned char> gz = wasm_core_gz();
  return PyBytes_FromStringAndSize(reinterpret_cast<const char*>(gz.data()), static_cast<Py_ssize_t>(gz.size()));
}

}  // namespace

void add_wasm_core(PyObject* module) {
  static PyMethodDef def = {"_wasm_core", wasm_core_entry, METH_NOARGS,
                            "_wasm_core()\n--\n\nThe gzipped WebAssembly core the module embeds."};
  Ref name = Ref::steal(PyModule_GetNameObject(module));
  Ref fn = Ref::steal(PyCFunction_NewEx(&def, module, name.get()));
  if (PyObject_SetAttrString(module, def.ml_name, fn.get()) < 0) throw PyErrorPending{};
}

}  // namespace qcpy
