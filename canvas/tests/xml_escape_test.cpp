// The escaper keeps every caller text well-formed XML: entities for markup, nothing for non-characters.
#include "render/engine/svg_format.hpp"

#include <gtest/gtest.h>

#include <string>

using qc::render::append_escaped;

TEST(XmlEscape, DropsWhatXmlForbids) {
  struct Case {
    std::string in;
    std::string want;
  };
  const Case cases[] = {
      {"a & \"b\" <c> 'd'", "a &amp; &quot;b&quot; &lt;c&gt; 'd'"},
      {std::string("x\0y", 3), "xy"},
      {"\x01\x08\x0b\x0c\x0e\x1f", ""},
      {"tab\tlf\ncr\r", "tab\tlf\ncr\r"},
      {"\x7f \xc2\x85", "\x7f \xc2\x85"},                      // DEL and C1 controls are allowed
      {"a\xef\xbf\xbe" "b\xef\xbf\xbf" "c", "abc"},            // U+FFFE, U+FFFF
      {"\xef\xbf\xbd \xef\xbc\x81", "\xef\xbf\xbd \xef\xbc\x81"},  // U+FFFD, U+FF01 stay
      {"\xef\xbf", "\xef\xbf"},                                // a cut sequence is left alone
      {"caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac"},
  };
  for (const Case& c : cases) {
    std::string out = "<";
    append_escaped(out, c.in);
    EXPECT_EQ(out, "<" + c.want) << c.in;
  }
}
