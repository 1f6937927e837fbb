// JSON string writer shared by the JSON document writers.
#pragma once

#include <string>
#include <string_view>

namespace qc::util {

// Appends `text` between quotation marks with the escapes of RFC 8259: \" \\ \b \t \n \f \r, \u00xx for
// the other control characters; every other byte, "/" and U+007F included, is copied as it is.
void append_json_string(std::string& out, std::string_view text);

}  // namespace qc::util
