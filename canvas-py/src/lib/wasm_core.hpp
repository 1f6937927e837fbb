// The core as WebAssembly, gzipped and embedded in the module.
#pragma once

#include <Python.h>

#include <span>

namespace qcpy {

// The gzipped WebAssembly module's bytes.
std::span<const unsigned char> wasm_core_gz();

// Sets the module's `_wasm_core()`: those bytes.
void add_wasm_core(PyObject* module);

}  // namespace qcpy
