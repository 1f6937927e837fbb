// Module entry point of quorvel_canvas.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

namespace {

PyObject* version(PyObject*, PyObject*) { return PyUnicode_FromString(QC_VERSION); }

PyMethodDef module_methods[] = {
    {"version", version, METH_NOARGS, nullptr},
    {nullptr, nullptr, 0, nullptr},
};

PyModuleDef module_def = {PyModuleDef_HEAD_INIT, "quorvel_canvas", nullptr, -1, module_methods,
                          nullptr, nullptr, nullptr, nullptr};

}  // namespace

PyMODINIT_FUNC PyInit_quorvel_canvas() { return PyModule_Create(&module_def); }
