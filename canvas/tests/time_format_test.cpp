// The time formats' directives and the ones they refuse.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "coords/time_format.hpp"

namespace qc::coords {
namespace {

constexpr std::int64_t kMonday = 1'567'433'109;  // 2019-09-02 14:05:09, the 245th day of its year

TEST(TimeFormat, Directives) {
  struct Case {
    std::int64_t ts;
    const char* format;
    const char* want;
  };
  const Case cases[] = {
      {kMonday, "%Y %y %m %b %B", "2019 19 09 Sep September"},
      {kMonday, "%d|%e|%j", "02| 2|245"},
      {kMonday + 20 * 86'400, "%e", "22"},
      {kMonday, "%H %I %M %S %p", "14 02 05 09 PM"},
      {kMonday, "%a %A %% 100%", "Mon Monday % 100%"},  // a lone % at the end stays
      {kMonday, "%Y年%m月", "2019年09月"},
      {0, "%A %j %I %p", "Thursday 001 12 AM"},
      {12 * 3600, "%I %p", "12 PM"},
      {-1, "%Y-%m-%d %H:%M:%S %a", "1969-12-31 23:59:59 Wed"},
      {951'782'400, "%j %d %b", "060 29 Feb"},  // 2000-02-29
      {978'220'800, "%j", "366"},               // 2000-12-31
      {-62'167'219'201, "%Y %y", "-1 99"},      // the last second of year -1
  };
  for (const Case& c : cases) {
    std::string out;
    append_time(out, c.ts, c.format);
    EXPECT_EQ(out, c.want) << c.format;
  }
}

TEST(TimeFormat, UnknownDirectives) {
  struct Case {
    const char* format;
    std::optional<std::string_view> unknown;
  };
  const Case cases[] = {
      {"%Y-%m-%d", std::nullopt}, {"%%Q", std::nullopt}, {"", std::nullopt}, {"%Q", "%Q"}, {"%Y %", "%"},
      {"%c %Q", "%c"},            {"%é", "%é"},          {"%%%", "%"},       {"%-d", "%-"},
  };
  for (const Case& c : cases) EXPECT_EQ(unknown_time_directive(c.format), c.unknown) << c.format;
}

}  // namespace
}  // namespace qc::coords
