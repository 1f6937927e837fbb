// The core as WebAssembly, gzipped and embedded in the module when it was built with one.
#pragma once

#include <Python.h>

#include <span>

namespace qcpy {

// The gzipped module's bytes; empty when this build has none.
std::span<const unsigned char> wasm_core_gz();

// Sets the module's `_wasm_core()`: those bytes, or None.
void add_wasm_core(PyObject* module);

}  // namespace qcpy
