// The time formats' directives, their refusals, and the labels and tags written with them.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "coords/time_format.hpp"

namespace qc::coords {
namespace {

constexpr std::int64_t kDay = 86'400;
// 2019-09-02 14:05:09, a Monday, the 245th day of its year.
constexpr std::int64_t kMonday = 1'567'433'109;

std::string formatted(std::int64_t ts, std::string_view format) {
  std::string out;
  append_time(out, ts, format);
  return out;
}

TEST(TimeFormat, Directives) {
  struct Case {
    std::int64_t ts;
    const char* format;
    const char* want;
  };
  const Case cases[] = {
      {kMonday, "%Y", "2019"},
      {kMonday, "%y", "19"},
      {kMonday, "%m", "09"},
      {kMonday, "%b", "Sep"},
      {kMonday, "%B", "September"},
      {kMonday, "%d", "02"},
      {kMonday, "%e", " 2"},
      {kMonday + 20 * kDay, "%e", "22"},
      {kMonday, "%H", "14"},
      {kMonday, "%I", "02"},
      {kMonday, "%M", "05"},
      {kMonday, "%S", "09"},
      {kMonday, "%p", "PM"},
      {kMonday, "%a", "Mon"},
      {kMonday, "%A", "Monday"},
      {kMonday, "%j", "245"},
      {kMonday, "%%", "%"},
      {kMonday, "%b %y", "Sep 19"},
      {kMonday, "%d.%m.%Y %H:%M", "02.09.2019 14:05"},
      {kMonday, "week of %a %e", "week of Mon  2"},
      {kMonday, "%Y年%m月", "2019年09月"},
      {kMonday, "", ""},
      {0, "%A %j %I %p", "Thursday 001 12 AM"},         // midnight reads 12 AM
      {12 * 3600, "%I %p", "12 PM"},                      // noon 12 PM
      {-1, "%Y-%m-%d %H:%M:%S %a", "1969-12-31 23:59:59 Wed"},
      {951'782'400, "%j %d %b", "060 29 Feb"},            // 2000-02-29
      {978'220'800, "%j", "366"},                         // 2000-12-31
      {-62'167'219'200, "%Y %y", "0 00"},                // year 0
      {-62'167'219'201, "%Y %y", "-1 99"},               // the last second of year -1
      {kMonday, "100%", "100%"},                          // a lone % at the end stays
  };
  for (const Case& c : cases) EXPECT_EQ(formatted(c.ts, c.format), c.want) << c.format;
}

TEST(TimeFormat, UnknownDirectives) {
  struct Case {
    const char* format;
    std::optional<std::string_view> unknown;
  };
  const Case cases[] = {
      {"%Y-%m-%d", std::nullopt}, {"%%Q", std::nullopt}, {"plain", std::nullopt},  {"", std::nullopt},
      {"%Q", "%Q"},               {"%Y %", "%"},          {"%Y%z", "%z"},           {"%c %Q", "%c"},
      {"%é", "%é"},               {"%%%", "%"},           {"%-d", "%-"},
  };
  for (const Case& c : cases) EXPECT_EQ(unknown_time_directive(c.format), c.unknown) << c.format;
}

// A kind's format wins; a kind without one keeps the axis' own text, and the tag its date.
TEST(TimeFormat, LabelsAndTag) {
  TimeFormat f;
  f.month = "%b %y";
  f.time = "%I:%M %p";
  f.tag = "%a %d %b %H:%M";
  struct Case {
    int weight;
    const char* want;
  };
  const Case cases[] = {{70, "2019"}, {60, "Sep 19"}, {50, "2 Sep"}, {40, "2 Sep"}, {35, "02:05 PM"}, {10, "02:05 PM"}};
  for (const Case& c : cases) {
    std::string out;
    f.append_label(out, kMonday, c.weight);
    EXPECT_EQ(out, c.want) << c.weight;
  }
  std::string tag;
  f.append_tag(tag, kMonday, false);
  EXPECT_EQ(tag, "Mon 02 Sep 14:05");
  const TimeFormat own;
  std::string day, minute;
  own.append_tag(day, kMonday, false);
  own.append_tag(minute, kMonday, true);
  EXPECT_EQ(day, "2019-09-02");
  EXPECT_EQ(minute, "2019-09-02 14:05");
}

}  // namespace
}  // namespace qc::coords
