// Time zones: the footer rule's day forms and clock times, TZif reading, and the local clock at the ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "coords/time_zone.hpp"

namespace qc::coords {
namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

TEST(ZoneRule, ChangesAtTheRulesDaysAndClockTimes) {
  // Each change is checked at its last second before and its first after (instants in UTC).
  struct Case {
    const char* rule;
    std::int64_t ts;
    std::int64_t offset;
  };
  const Case cases[] = {
      // Second Sunday of March, first of November, at 2:00 on the clock in force.
      {"EST5EDT,M3.2.0,M11.1.0", 1583650800 - 1, -18000},
      {"EST5EDT,M3.2.0,M11.1.0", 1583650800, -14400},
      {"EST5EDT,M3.2.0,M11.1.0", 1604210400 - 1, -14400},
      {"EST5EDT,M3.2.0,M11.1.0", 1604210400, -18000},
      // Week 5: March 2020 has five Sundays, October 2020 four.
      {"GMT0BST,M3.5.0/1,M10.5.0", 1585443600 - 1, 0},
      {"GMT0BST,M3.5.0/1,M10.5.0", 1585443600, 3600},
      {"GMT0BST,M3.5.0/1,M10.5.0", 1603587600 - 1, 3600},
      {"GMT0BST,M3.5.0/1,M10.5.0", 1603587600, 0},
      // Southern summer, across the new year.
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", 1617465600 - 1, 39600},
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", 1617465600, 36000},
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", 1633190400 - 1, 36000},
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", 1633190400, 39600},
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", 1609459200, 39600},
      // A time past 24 h (Thursday 26:00 is Friday 2:00) and a negative one (Saturday 23:00).
      {"IST-2IDT,M3.4.4/26,M10.5.0", 1585267200 - 1, 7200},
      {"IST-2IDT,M3.4.4/26,M10.5.0", 1585267200, 10800},
      {"IST-2IDT,M3.4.4/26,M10.5.0", 1603580400 - 1, 10800},
      {"IST-2IDT,M3.4.4/26,M10.5.0", 1603580400, 7200},
      {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", 1711846800 - 1, -7200},
      {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", 1711846800, -3600},
      {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", 1729990800 - 1, -3600},
      {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", 1729990800, -7200},
      // Jn never counts 29 February: J60 is 1 March in 2020 too. n counts it: 59 is 29 February in 2020,
      // 1 March in 2021. Midnight at -03 is 03:00 UTC.
      {"<-03>3<-02>,J60/0,J300/0", 1583031600 - 1, -10800},
      {"<-03>3<-02>,J60/0,J300/0", 1583031600, -7200},
      {"<-03>3<-02>,59/0,300/0", 1582977600 - 12 * 3600 + 3 * 3600 - 1, -10800},
      {"<-03>3<-02>,59/0,300/0", 1582977600 - 12 * 3600 + 3 * 3600, -7200},
      {"<-03>3<-02>,59/0,300/0", 1614513600, -10800},
      // The daylight-saving offset given, and one ahead of standard time by default.
      {"<+0330>-3:30<+0430>-4:30,J79/24,J263/24", 1593561600, 16200},
      {"CET-1CEST,M3.5.0,M10.5.0/3", 1593561600, 7200},
      // All year in daylight-saving time: it ends at 25:00 on 31 December, when the next year's begins.
      {"EST5EDT,0/0,J365/25", 1609477200 - 1, -14400},
      {"EST5EDT,0/0,J365/25", 1609477200, -14400},
      {"EST5EDT,0/0,J365/25", 1625097600, -14400},
      {"EST5EDT,0/0,J365/25", 1609455600, -14400},
      // Standard time only.
      {"<+0545>-5:45", 1593561600, 20700},
      {"JST-9", kMin, 32400},
      {"UTC0", kMax, 0},
  };
  for (const Case& c : cases) {
    const std::optional<ZoneRule> rule = ZoneRule::parse(c.rule);
    ASSERT_TRUE(rule) << c.rule;
    EXPECT_EQ(rule->offset(c.ts), c.offset) << c.rule << " at " << c.ts;
  }
}

TEST(ZoneRule, RefusesTextsOfOtherForms) {
  for (const char* text : {"", "E5", "EST", "EST5EDT", "EST5EDT,M3.2.0", "EST5EDT,M3.2.0,M11.1.0,",
                           "EST5EDT,M13.2.0,M11.1.0", "EST5EDT,M0.2.0,M11.1.0", "EST5EDT,M3.0.0,M11.1.0",
                           "EST5EDT,M3.6.0,M11.1.0", "EST5EDT,M3.2.7,M11.1.0", "EST5EDT,M3.2,M11.1.0",
                           "EST5EDT,J0,J365", "EST5EDT,J366,J1", "EST5EDT,366,0", "EST25", "EST5:60", "<EST5",
                           "<ES>5", "EST5EDT,M3.2.0/168,M11.1.0", "EST5EDT,M3.2.0/2:0x,M11.1.0", "5EST"}) {
    EXPECT_FALSE(ZoneRule::parse(text)) << text;
  }
}

TEST(ZoneRule, HoldsAtTheEndsOfTheRange) {
  const std::optional<ZoneRule> rule = ZoneRule::parse("EST5EDT,M3.2.0,M11.1.0");
  ASSERT_TRUE(rule);
  for (const std::int64_t ts : {kMin, kMin + 1, kMax - 1, kMax}) {
    const std::int64_t offset = rule->offset(ts);
    EXPECT_TRUE(offset == -18000 || offset == -14400) << ts;
  }
}

// A TZif file of version 2 and later: a minimal version 1 block, then the 64-bit data and the footer.
struct Tzif {
  std::vector<std::int64_t> times;
  std::vector<std::uint8_t> types;     // one per transition
  std::vector<std::int32_t> offsets;   // one per time type
  std::string footer;
  char version = '2';
  std::uint32_t isut = 0;

  static void be(std::string& out, std::uint64_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>(v >> (8 * i) & 0xff);
  }
  static void header(std::string& out, char version, std::uint32_t isut, std::uint32_t times, std::uint32_t types,
                     std::uint32_t chars) {
    out += "TZif";
    out += version;
    out.append(15, '\0');
    for (const std::uint32_t count : {isut, 0u, 0u, times, types, chars}) be(out, count, 4);
  }
  std::string bytes() const {
    std::string out;
    header(out, version, 0, 0, 1, 1);
    out.append(6, '\0');  // one time type, UTC
    out += '\0';
    header(out, version, isut, static_cast<std::uint32_t>(times.size()), static_cast<std::uint32_t>(offsets.size()),
           4);
    for (const std::int64_t t : times) be(out, static_cast<std::uint64_t>(t), 8);
    for (const std::uint8_t k : types) out += static_cast<char>(k);
    for (const std::int32_t offset : offsets) {
      be(out, static_cast<std::uint32_t>(offset), 4);
      out += '\0';  // standard time
      out += '\0';  // designation at 0
    }
    out.append("ABC", 4);
    out.append(isut, '\0');
    return out + "\n" + footer + "\n";
  }
};

std::int64_t offset_of(const Tzif& file, std::int64_t ts) {
  const std::optional<TimeZone> zone = TimeZone::parse(file.bytes());
  EXPECT_TRUE(zone);
  return zone ? zone->offset(ts) : 0;
}

TEST(TimeZone, ReadsTransitionsAndTheFooterRule) {
  // Type 0 rules before the first transition, even when another type follows it.
  const Tzif table{{100, 200}, {1, 0}, {10, 20}, ""};
  struct Case {
    std::int64_t ts, offset;
  };
  for (const Case& c : std::initializer_list<Case>{{kMin, 10}, {99, 10}, {100, 20}, {199, 20}, {200, 10}, {kMax, 10}}) {
    EXPECT_EQ(offset_of(table, c.ts), c.offset) << c.ts;
  }
  // Local mean time, then EST from 2007-11-04 06:00 UTC; the footer's rule past it (2030).
  const Tzif ruled{{1194156000}, {1}, {-17762, -18000}, "EST5EDT,M3.2.0,M11.1.0"};
  for (const Case& c : std::initializer_list<Case>{{1194156000 - 1, -17762}, {1194156000, -18000},
                                                   {1909094400, -14400}, {1893456000, -18000}}) {
    EXPECT_EQ(offset_of(ruled, c.ts), c.offset) << c.ts;
  }
  // Without transitions the footer holds everywhere; without either, type 0.
  EXPECT_EQ(offset_of(Tzif{{}, {}, {0}, "JST-9"}, kMin), 32400);
  EXPECT_EQ(offset_of(Tzif{{}, {}, {3600}, ""}, -5), 3600);
  const Tzif with_isut{{100}, {0}, {7}, "", '3', 1};
  EXPECT_EQ(offset_of(with_isut, 100), 7);
}

TEST(TimeZone, TheRulesYearsInTheTableAgreeWithTheRule) {
  // A slim file stops at 2007 and leaves the years after to its rule; whether an instant is answered from
  // the years written into the table or by the rule itself, the offset is the rule's. Checked around every
  // change over three centuries, and on instants spread over them.
  for (const char* text : {"EST5EDT,M3.2.0,M11.1.0", "AEST-10AEDT,M10.1.0,M4.1.0/3", "EST5EDT,0/0,J365/25",
                           "<-02>2<-01>,M3.5.0/-1,M10.5.0/0", "IST-2IDT,M3.4.4/26,M10.5.0", "<-03>3<-02>,59/0,0/-100"}) {
    const std::optional<ZoneRule> rule = ZoneRule::parse(text);
    const std::optional<TimeZone> zone = TimeZone::parse(Tzif{{1194156000}, {1}, {-17762, 3600}, text}.bytes());
    ASSERT_TRUE(rule && zone) << text;
    for (std::int64_t year = 2005; year < 2320; ++year) {
      for (const bool starts : {true, false}) {
        for (const std::int64_t d : {-1, 0, 1}) {
          const std::int64_t ts = std::max<std::int64_t>(rule->change(year, starts) + d, 1194156001);
          ASSERT_EQ(zone->offset(ts), rule->offset(ts)) << text << " at " << ts;
        }
      }
    }
    for (std::int64_t ts = 1194156001; ts < 11'000'000'000; ts += 7'777'777) {
      ASSERT_EQ(zone->offset(ts), rule->offset(ts)) << text << " at " << ts;
    }
    EXPECT_EQ(zone->offset(1194156000), 3600) << text;  // the last transition's own type
  }
}

TEST(TimeZone, RefusesBytesOfOtherForms) {
  const Tzif good{{100, 200}, {1, 0}, {10, 20}, "EST5"};
  ASSERT_TRUE(TimeZone::parse(good.bytes()));
  const std::string bytes = good.bytes();
  for (std::size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(TimeZone::parse(bytes.substr(0, n))) << n;

  std::vector<std::string> bad = {bytes + "x", "TZig" + bytes.substr(4), std::string(bytes).replace(4, 1, "1")};
  std::string v1_only = bytes;
  v1_only[4] = '\0';
  bad.push_back(v1_only);
  Tzif t = good;
  t.times = {200, 100};
  bad.push_back(t.bytes());
  t = good;
  t.types = {1, 2};
  bad.push_back(t.bytes());
  t = good;
  t.times = {};
  t.types = {};
  t.offsets = {};
  bad.push_back(t.bytes());
  t = good;
  t.offsets[1] = std::numeric_limits<std::int32_t>::min();
  bad.push_back(t.bytes());
  t = good;
  t.footer = "EST5EDT";
  bad.push_back(t.bytes());
  t = good;
  t.footer = "EST5\nEST5";
  bad.push_back(t.bytes());
  t = good;
  t.isut = 1;  // neither 0 nor the number of types
  bad.push_back(t.bytes());
  for (std::size_t i = 0; i < bad.size(); ++i) EXPECT_FALSE(TimeZone::parse(bad[i])) << i;
}

TEST(TimeZone, LocalClockHoldsAtTheEnds) {
  EXPECT_EQ(TimeZone().local(kMax), kMax);
  EXPECT_EQ(TimeZone().local(-7), -7);
  const std::optional<TimeZone> east = TimeZone::parse(Tzif{{}, {}, {3600}, ""}.bytes());
  const std::optional<TimeZone> west = TimeZone::parse(Tzif{{}, {}, {0}, "EST5EDT,M3.2.0,M11.1.0"}.bytes());
  ASSERT_TRUE(east && west);
  EXPECT_EQ(east->local(0), 3600);
  EXPECT_EQ(east->local(kMax - 3600), kMax);
  EXPECT_EQ(east->local(kMax - 3601), kMax - 1);
  EXPECT_EQ(east->local(kMin), kMin + 3600);
  EXPECT_EQ(west->local(kMin), kMin);
  EXPECT_EQ(west->local(kMin + 18000), kMin);
  EXPECT_EQ(west->local(kMax), kMax - 18000);
}

}  // namespace
}  // namespace qc::coords
