// The SVG value writers shared by every element: CSS colour text and XML text escaping.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "render/engine/types.hpp"

namespace qc::render {

// Longest colour text: "rgba(255,255,255," + the longest alpha text + ")".
inline constexpr std::size_t kMaxCssColorChars = 48;

// "rgba(r,g,b,alpha)" with alpha the shortest text of a / 255 ("rgba(0,0,0,0.5019607843137255)"). Needs
// kMaxCssColorChars bytes at out: it stores whole table entries past the text's end.
char* write_rgba(char* out, Color c);

// "#rrggbb" (lower case) for an opaque colour, otherwise the rgba form. Needs kMaxCssColorChars bytes.
inline char* write_css_color(char* out, Color c) {
  if (!c.is_opaque()) return write_rgba(out, c);
  static constexpr char kHex[] = "0123456789abcdef";
  out[0] = '#';
  out[1] = kHex[c.r >> 4], out[2] = kHex[c.r & 15];
  out[3] = kHex[c.g >> 4], out[4] = kHex[c.g & 15];
  out[5] = kHex[c.b >> 4], out[6] = kHex[c.b & 15];
  return out + 7;
}
void append_css_color(std::string& out, Color c);

// Replaces &, <, > and the double quote by their entities; apostrophes stay. Drops what XML 1.0 does not
// allow in a document (C0 controls other than tab, line feed and carriage return; U+FFFE and U+FFFF), so
// caller text never makes a document ill-formed. Needs 6 bytes per input byte at out.
inline constexpr std::size_t kMaxEscapeGrowth = 6;
char* write_escaped(char* out, std::string_view text);
void append_escaped(std::string& out, std::string_view text);

}  // namespace qc::render
