// JSON string escaping: runs of plain bytes are appended whole.
#include "util/json_string.hpp"

#include <array>

namespace qc::util {
namespace {

// The letter of a two-character escape, or 0 where the \u00xx form is needed.
constexpr char short_escape(unsigned char c) {
  switch (c) {
    case '"': return '"';
    case '\\': return '\\';
    case '\b': return 'b';
    case '\t': return 't';
    case '\n': return 'n';
    case '\f': return 'f';
    case '\r': return 'r';
    default: return 0;
  }
}

// Bytes that cannot stand in a JSON string as they are: control characters, quotation mark, backslash.
constexpr auto needs_escape = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 0x20; ++c) table[c] = true;
  table['"'] = table['\\'] = true;
  return table;
}();

}  // namespace

void append_json_string(std::string& out, std::string_view text) {
  out += '"';
  std::size_t run = 0;  // start of the bytes not yet copied
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!needs_escape[c]) continue;
    out.append(text, run, i - run);
    run = i + 1;
    if (const char letter = short_escape(c)) {
      const char escape[] = {'\\', letter};
      out.append(escape, 2);
    } else {
      static constexpr char hex[] = "0123456789abcdef";
      const char escape[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 0xf]};
      out.append(escape, sizeof escape);
    }
  }
  out.append(text, run, text.size() - run);
  out += '"';
}

}  // namespace qc::util
