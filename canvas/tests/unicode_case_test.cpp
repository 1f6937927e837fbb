// Full lower-casing: one-to-one and one-to-two mappings, the final-sigma context, invalid bytes.
#include "util/unicode_case.hpp"

#include <gtest/gtest.h>

namespace {

std::string lower(std::string_view text) {
  std::string out = "<";
  qc::util::append_lowercase(out, text);
  return out;
}

TEST(UnicodeLowercase, MappingsAndFinalSigma) {
  const std::pair<const char*, const char*> cases[] = {
      {"My Line 2", "<my line 2"},
      {"\u0130stanbul", "<i\u0307stanbul"},             // dotted capital I becomes two characters
      {"\u01c5", "<\u01c6"},                            // title-case digraph
      {"\u1e9e", "<\u00df"},                            // capital sharp s
      {"\u216b", "<\u217b"},                            // Roman numeral twelve
      {"\uff21", "<\uff41"},                            // full-width A
      {"\U00010400", "<\U00010428"},                    // Deseret, four bytes
      {"\u00c0\u00d7\u00de", "<\u00e0\u00d7\u00fe"},    // the multiplication sign has no lower case
      {"\u03a3", "<\u03c3"},                            // nothing cased before it
      {"A\u03a3", "<a\u03c2"},                          // ends a word
      {"A'\u03a3", "<a'\u03c2"},                        // apostrophe is skipped before it
      {"A\u03a3'B", "<a\u03c3'b"},                      // and after it: a cased letter follows
      {"A\u03a3.", "<a\u03c2."},                        // a full stop is neither
      {"A\u03a3\u0301b", "<a\u03c3\u0301b"},            // combining accent skipped
      {"\u039f\u0394\u039f\u03a3 \u03a3\u0391", "<\u03bf\u03b4\u03bf\u03c2 \u03c3\u03b1"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(lower(text), expected) << text;
}

TEST(UnicodeLowercase, InvalidBytesAreKept) {
  const std::string cases[] = {
      "A\xff" "B",      // never a lead byte
      "A\xc3",          // truncated sequence
      "\xc0\x80Z",      // overlong NUL
      "\xed\xa0\x80Z",  // surrogate
      "\xf4\x90\x80\x80Z",  // past U+10FFFF
  };
  for (const std::string& text : cases) {
    std::string expected = "<" + text;
    for (char& ch : expected) {
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
    EXPECT_EQ(lower(text), expected);
  }
}

}  // namespace
