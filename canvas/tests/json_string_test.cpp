// JSON string escaping: the short escapes, \u00xx for other control characters, everything else verbatim.
#include "util/json_string.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string escaped(std::string_view text) {
  std::string out;
  qc::util::append_json_string(out, text);
  return out;
}

TEST(JsonString, Escapes) {
  struct Case {
    std::string text;
    const char* json;
  };
  const Case cases[] = {
      {"", R"("")"},
      {"plain #131722", R"("plain #131722")"},
      {"q\"b\\", R"("q\"b\\")"},
      {"\b\t\n\f\r", R"("\b\t\n\f\r")"},
      {std::string("\0\x01\x1b\x1f", 4), R"("\u0000\u0001\u001b\u001f")"},
      {"/ \x7f \xc3\xa9 \xf0\x9f\x93\x88", "\"/ \x7f \xc3\xa9 \xf0\x9f\x93\x88\""},
      {"\x0b\x0e", R"("\u000b\u000e")"},
  };
  for (const auto& c : cases) EXPECT_EQ(escaped(c.text), c.json);
}

TEST(JsonString, AppendsToWhatIsThere) {
  std::string out = "x:";
  qc::util::append_json_string(out, "a\nb");
  EXPECT_EQ(out, "x:\"a\\nb\"");
}

}  // namespace
