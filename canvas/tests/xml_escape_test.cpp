// The escaper keeps every caller text well-formed XML: entities for markup, nothing for non-characters; a
// text's reckoned width counts what it keeps.
#include "render/engine/svg_format.hpp"

#include <gtest/gtest.h>

#include <string>

using qc::render::append_escaped;
using qc::render::drawn_text_bytes;

TEST(XmlEscape, DropsWhatXmlForbids) {
  struct Case {
    std::string in;
    std::string want;
    std::size_t drawn;  // the bytes a text width is reckoned from: those kept, an entity's character as one
  };
  const Case cases[] = {
      {"a & \"b\" <c> 'd'", "a &amp; &quot;b&quot; &lt;c&gt; 'd'", 15},
      {std::string("x\0y", 3), "xy", 2},
      {"\x01\x08\x0b\x0c\x0e\x1f", "", 0},
      {"tab\tlf\ncr\r", "tab\tlf\ncr\r", 10},
      {"\x7f \xc2\x85", "\x7f \xc2\x85", 4},                      // DEL and C1 controls are allowed
      {"a\xef\xbf\xbe" "b\xef\xbf\xbf" "c", "abc", 3},            // U+FFFE, U+FFFF
      {"\xef\xbf\xbd \xef\xbc\x81", "\xef\xbf\xbd \xef\xbc\x81", 7},  // U+FFFD, U+FF01 stay
      {"\xef\xbf", "\xef\xbf", 2},                                // a cut sequence is left alone
      {"caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac", 9},
  };
  for (const Case& c : cases) {
    std::string out = "<";
    append_escaped(out, c.in);
    EXPECT_EQ(out, "<" + c.want) << c.in;
    EXPECT_EQ(drawn_text_bytes(c.in), c.drawn) << c.in;
  }
}
