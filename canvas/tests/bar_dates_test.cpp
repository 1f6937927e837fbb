// Dates on bars: ISO 8601 texts, the bar each role selects, the fractional places beyond the bars, and
// the bar texts errors name.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "coords/bar_dates.hpp"

namespace qc::coords {
namespace {

constexpr std::int64_t kDay = 86'400;
constexpr std::int64_t k20240301 = 19'783;  // day number of 2024-03-01

TEST(ParseIsoDate, ReadsDaysLocalTimesAndInstants) {
  using F = DateQuery::Form;
  struct Case {
    const char* text;
    std::optional<DateQuery> want;
  };
  const std::int64_t at1430 = k20240301 * kDay + 14 * 3600 + 30 * 60;
  const Case cases[] = {
      {"2024-03-01", DateQuery{F::day, k20240301}},
      {"2024-03-01 14:30", DateQuery{F::local, at1430}},
      {"2024-03-01T14:30", DateQuery{F::local, at1430}},
      {"2024-03-01T14:30:05.75", DateQuery{F::local, at1430 + 5}},
      {"2024-03-01T14:30:00Z", DateQuery{F::instant, at1430}},
      {"2024-03-01T14:30+01:00", DateQuery{F::instant, at1430 - 3600}},
      {"2024-03-01T14:30-0530", DateQuery{F::instant, at1430 + 5 * 3600 + 1800}},
      {"2024-03-01T14:30+01", DateQuery{F::instant, at1430 - 3600}},
      {"2024-02-29", DateQuery{F::day, k20240301 - 1}},
      {"1969-12-31", DateQuery{F::day, -1}},
      // Not dates: a day the calendar lacks, fields out of range or short, trailing text, a lone offset.
      {"2023-02-29", std::nullopt},
      {"2024-13-01", std::nullopt},
      {"2024-04-31", std::nullopt},
      {"2024-00-10", std::nullopt},
      {"2024-3-1", std::nullopt},
      {"2024-03-01 24:00", std::nullopt},
      {"2024-03-01 14:60", std::nullopt},
      {"2024-03-01 14:30x", std::nullopt},
      {"2024-03-01 14:30:00.", std::nullopt},
      {"2024-03-01Z", std::nullopt},
      {"2024-03-01T14:30+1", std::nullopt},
      {"yesterday", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<DateQuery> got = parse_iso_date(c.text);
    ASSERT_EQ(got.has_value(), c.want.has_value());
    if (!got) continue;
    EXPECT_EQ(got->form, c.want->form);
    EXPECT_EQ(got->value, c.want->value);
  }
}

// Three days of four bars an hour apart from 09:00, a day missing between the second and the third:
// 2024-03-01, 2024-03-02, 2024-03-04 (UTC).
std::vector<std::int64_t> hourly_bars() {
  std::vector<std::int64_t> times;
  for (const std::int64_t day : {k20240301, k20240301 + 1, k20240301 + 3}) {
    for (int h = 9; h < 13; ++h) times.push_back(day * kDay + h * 3600);
  }
  return times;
}

// What a date placed for a role gives: the outcome, and the index when found.
struct PlaceCase {
  const char* what;
  DateQuery date;
  DateRole role;
  DatePlace::Outcome outcome;
  double index;
};

void expect_places(const BarClock& clock, std::span<const PlaceCase> cases) {
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    const DatePlace got = place_date(clock, c.date, c.role);
    EXPECT_EQ(got.outcome, c.outcome);
    if (got.outcome == DatePlace::Outcome::found) {
      EXPECT_DOUBLE_EQ(got.index, c.index);
    }
  }
}

TEST(PlaceDate, EachRoleSelectsItsBar) {
  using F = DateQuery::Form;
  using O = DatePlace::Outcome;
  const std::vector<std::int64_t> times = hourly_bars();
  const BarClock clock{times};
  const std::int64_t d = k20240301;
  const auto at = [&](std::int64_t day, int h, int m = 0) { return day * kDay + h * 3600 + m * 60; };
  const PlaceCase cases[] = {
      {"a moment between bars: the last at or before", {F::instant, at(d, 10, 30)}, DateRole::bar, O::found, 1},
      {"a moment on a bar", {F::local, at(d, 10)}, DateRole::bar, O::found, 1},
      {"view's first: the first at or after", {F::instant, at(d, 10, 30)}, DateRole::first, O::found, 2},
      {"view's last: the last at or before", {F::instant, at(d, 10, 30)}, DateRole::last, O::found, 1},
      {"a moment before the first bar", {F::instant, at(d, 8)}, DateRole::bar, O::before_first, 0},
      {"view's first before the first bar", {F::instant, at(d, 8)}, DateRole::first, O::found, 0},
      {"view's last before the first bar", {F::instant, at(d, 8)}, DateRole::last, O::before_first, 0},
      {"a moment after the last bar", {F::instant, at(d + 5, 0)}, DateRole::bar, O::found, 11},
      {"view's first after the last bar", {F::instant, at(d + 5, 0)}, DateRole::first, O::after_last, 0},
      {"a day: its first bar", {F::day, d + 1}, DateRole::bar, O::found, 4},
      {"a day without bars: the last before", {F::day, d + 2}, DateRole::bar, O::found, 7},
      {"view's first of a day", {F::day, d + 1}, DateRole::first, O::found, 4},
      {"view's first of a day without bars: the first after", {F::day, d + 2}, DateRole::first, O::found, 8},
      {"view's last of a day", {F::day, d + 1}, DateRole::last, O::found, 7},
      {"view's last of a day without bars: the last before", {F::day, d + 2}, DateRole::last, O::found, 7},
      {"a day before the bars", {F::day, d - 1}, DateRole::bar, O::before_first, 0},
      {"a day after the bars: the last bar", {F::day, d + 9}, DateRole::bar, O::found, 11},
      {"view's first of a day after the bars", {F::day, d + 9}, DateRole::first, O::after_last, 0},
      // Positions: inside the bars as a bar; outside at the median interval (an hour) from the nearer end.
      {"a position inside", {F::instant, at(d, 10, 30)}, DateRole::position, O::found, 1},
      {"a position on the last bar", {F::instant, at(d + 3, 12)}, DateRole::position, O::found, 11},
      {"a position after the bars", {F::instant, at(d + 3, 14, 30)}, DateRole::position, O::found, 13.5},
      {"a position before the bars", {F::instant, at(d, 7, 45)}, DateRole::position, O::found, -1.25},
      {"a day after the bars, at its midnight", {F::day, d + 4}, DateRole::position, O::found, 11 + 12},
      {"a day before the bars, at its midnight", {F::day, d - 1}, DateRole::position, O::found, -33},
      {"a day inside without bars: as a bar", {F::day, d + 2}, DateRole::position, O::found, 7},
  };
  expect_places(clock, cases);
}

// Boxes ending at bars 1, 3, 3 and 6 of the twelve hourly bars: a date selects the first box ending at or
// after its bar; past the last box's last bar (bar 6), the last box, except for a view's first.
TEST(PlaceDate, OnBoxesTheFirstBoxEndingAtOrAfterTheBar) {
  using F = DateQuery::Form;
  using O = DatePlace::Outcome;
  const std::vector<std::int64_t> times = hourly_bars();
  const std::vector<std::size_t> last_bar{1, 3, 3, 6};
  const BarClock clock{times, &kUtc, last_bar};
  const std::int64_t d = k20240301;
  const auto at = [&](std::int64_t day, int h, int m = 0) { return DateQuery{F::instant, day * kDay + h * 3600 + m * 60}; };
  const PlaceCase cases[] = {
      {"bar 0: the first box", at(d, 9), DateRole::bar, O::found, 0},
      {"a box's last bar", at(d, 10), DateRole::bar, O::found, 0},
      {"inside a box", at(d, 11), DateRole::bar, O::found, 1},
      {"two boxes end at one bar: the first", at(d, 12), DateRole::bar, O::found, 1},
      {"the last box's last bar", at(d + 1, 11), DateRole::bar, O::found, 3},
      {"after the last box's last bar: the last box", at(d + 1, 12), DateRole::bar, O::found, 3},
      {"after the last bar: the last box", at(d + 9, 0), DateRole::bar, O::found, 3},
      {"a view's last after the last box's last bar", at(d + 1, 12), DateRole::last, O::found, 3},
      {"a view's first after the last box's last bar", at(d + 1, 12), DateRole::first, O::after_last, 0},
      {"a view's first after the last bar", at(d + 9, 0), DateRole::first, O::after_last, 0},
      {"a view's first between bars", at(d, 10, 30), DateRole::first, O::found, 1},
      {"before the first bar", at(d, 8), DateRole::bar, O::before_first, 0},
      {"a position after the bars: the last box", at(d + 3, 14, 30), DateRole::position, O::found, 3},
      {"a position before the bars keeps its place", at(d, 7, 45), DateRole::position, O::found, -1.25},
      {"a day: its first bar's box", {F::day, d + 1}, DateRole::bar, O::found, 3},
  };
  expect_places(clock, cases);
  EXPECT_EQ(last_placed_bar(clock), 6u);
  EXPECT_EQ(last_placed_bar(BarClock{times}), 11u);
  // No boxes at all: every date is past them.
  const BarClock none{times, &kUtc, std::span<const std::size_t>()};
  EXPECT_EQ(place_date(none, at(d, 10), DateRole::bar).outcome, O::after_last);
}

TEST(PlaceDate, InstantsAtTheEndsOfTheRangeStayDefined) {
  const std::vector<std::int64_t> times = hourly_bars();
  const BarClock clock{times};
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  EXPECT_GT(place_date(clock, {DateQuery::Form::instant, kMax}, DateRole::position).index, 1e14);
  EXPECT_LT(place_date(clock, {DateQuery::Form::instant, kMin}, DateRole::position).index, -1e14);
  EXPECT_EQ(place_date(clock, {DateQuery::Form::local, kMax}, DateRole::bar).index, 11.0);
  EXPECT_EQ(place_date(clock, {DateQuery::Form::local, kMin}, DateRole::first).index, 0.0);
  EXPECT_EQ(instant_of_local(kUtc, kMax), kMax);
  EXPECT_EQ(instant_of_local(kUtc, kMin), kMin);
}

TEST(PlaceDate, MedianIntervalAndBarTexts) {
  const std::vector<std::int64_t> hourly = hourly_bars();
  // Nine steps of an hour and two overnight ones: the median is an hour.
  EXPECT_DOUBLE_EQ(median_interval(hourly), 3600.0);
  EXPECT_EQ(bar_time_text(BarClock{hourly}, 5), "2024-03-02 10:00");
  // Daily bars over a weekend (1, 1, 3, 1 days): the even count's median is the mean of the middle two.
  const std::vector<std::int64_t> daily = {0, kDay, 2 * kDay, 5 * kDay, 6 * kDay};
  EXPECT_DOUBLE_EQ(median_interval(daily), static_cast<double>(kDay));
  EXPECT_EQ(bar_time_text(BarClock{daily}, 3), "1970-01-06");
  const std::vector<std::int64_t> uneven = {0, 60, 180, 480};
  EXPECT_DOUBLE_EQ(median_interval(uneven), 120.0);
  // Fewer than two bars, or steps that do not move: a day.
  EXPECT_DOUBLE_EQ(median_interval(std::vector<std::int64_t>{5}), static_cast<double>(kDay));
  EXPECT_DOUBLE_EQ(median_interval(std::vector<std::int64_t>{5, 5, 5}), static_cast<double>(kDay));
}

}  // namespace
}  // namespace qc::coords
