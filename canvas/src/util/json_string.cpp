// JSON string escaping: runs of plain bytes are appended whole.
#include "util/json_string.hpp"

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

constexpr bool needs_escape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\'; }

}  // namespace

void append_json_string(std::string& out, std::string_view text) {
  out += '"';
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!needs_escape(c)) continue;
    out.append(text, run, i - run);
    run = i + 1;
    out += '\\';
    if (const char letter = short_escape(c)) {
      out += letter;
    } else {
      static constexpr char hex[] = "0123456789abcdef";
      out += "u00";
      out += hex[c >> 4];
      out += hex[c & 0xf];
    }
  }
  out.append(text, run, text.size() - run);
  out += '"';
}

}  // namespace qc::util
