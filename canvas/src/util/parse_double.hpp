// std::from_chars for a double, also where the C++ library lacks it (libc++ 16, the WebAssembly build).
#pragma once

#include <charconv>

namespace qc::util {

// As std::from_chars(first, last, value) in its general format: no leading space or plus sign, no
// hexadecimal; the value is left as it was when the result is out of range.
std::from_chars_result parse_double(const char* first, const char* last, double& value);

}  // namespace qc::util
