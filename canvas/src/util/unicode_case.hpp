// Full default lower-casing of UTF-8 text, as the Unicode case mappings define it.
#pragma once

#include <string>
#include <string_view>

namespace qc::util {

// Appends `text` lower-cased with the full default mappings (U+0130 becomes two characters) and the
// final-sigma rule (a capital sigma that ends a word becomes U+03C2). Bytes that are not valid UTF-8
// are copied unchanged.
void append_lowercase(std::string& out, std::string_view text);

}  // namespace qc::util
