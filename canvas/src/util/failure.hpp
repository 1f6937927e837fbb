// The few failures no caller's input causes, in a form that builds both with C++ exceptions and without
// them (the WebAssembly build, where nothing could catch them and the program ends instead).
#pragma once

#include <cstdlib>
#include <new>
#include <stdexcept>

namespace qc::util {

// Memory refused.
[[noreturn]] inline void out_of_memory() {
#if defined(__cpp_exceptions)
  throw std::bad_alloc();
#else
  std::abort();
#endif
}

// A call or a table the code itself got wrong. Not constexpr: reaching it fails the constant evaluation of
// a table, so that a wrong table does not compile.
[[noreturn]] inline void broken_invariant(const char* what) {
#if defined(__cpp_exceptions)
  throw std::invalid_argument(what);
#else
  (void)what;
  std::abort();
#endif
}

}  // namespace qc::util
