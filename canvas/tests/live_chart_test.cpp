// A chart that grows in place: where a recursion's kept state lets it resume, the refusals' texts, and a
// resumed study against the same study run from bar 0 across gaps in the bars.
#include "api/live_chart.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "api/indicator_builders.hpp"
#include "api/indicator_catalog.hpp"

using namespace qc;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A running sum as the recursions keep it: the state is the sum.
std::vector<double> summed(studies::Resume& resume, const std::vector<double>& x, std::vector<double> out) {
  double sum = 0.0;
  out.resize(x.size(), -1.0);
  studies::resumable(&resume, x.size(), sum, [&](std::size_t t) { out[t] = sum += x[t]; });
  return out;
}

TEST(Resume, StartsFromTheStateAfterTheLastBarOrTheOneBefore) {
  const std::vector<double> x = {1, 2, 3, 4, 5};
  studies::Resume resume;
  EXPECT_FALSE(resume.start_at(3));  // nothing kept yet
  const std::vector<double> first = summed(resume, {1, 2, 3}, {});
  struct Case {
    std::size_t from;
    bool resumes;
  };
  for (const Case c : {Case{3, true}, Case{2, true}, Case{1, false}, Case{4, false}, Case{0, true}}) {
    studies::Resume r = resume;
    EXPECT_EQ(r.start_at(c.from), c.resumes) << c.from;
    // A bar the run does not reach keeps the -1 it was given; one resumed from holds the earlier value.
    std::vector<double> held = first;
    const std::vector<double> got = summed(r, x, held);
    EXPECT_EQ(got, (std::vector<double>{1, 3, 6, 10, 15})) << c.from;
  }
  // Bars taken away, none computed: the state after the new last bar is the one before the old last.
  studies::Resume shrunk = resume;
  ASSERT_TRUE(shrunk.start_at(2));
  summed(shrunk, {1, 2}, {1, 3});
  EXPECT_TRUE(shrunk.start_at(2));
  EXPECT_FALSE(shrunk.start_at(1));
}

TEST(LiveChart, RefusalsNameBothTimesInTheChartsZone) {
  api::Chart chart = api::Chart::make(400, 300);
  const model::BarColumns first{{0, 1, 1, 1, 1, 0}};
  EXPECT_EQ(api::grow_refusal(chart, first, true, "bar"), "argument 'bar': the chart has no bar to update");
  EXPECT_FALSE(api::grow_refusal(chart, first, false, "bar"));  // an append starts the bars
  chart.bars.push_back({1709303460, 1, 1, 1, 1, 0});
  struct Case {
    model::BarColumns more;
    bool update;
    std::optional<std::string> refusal;
  };
  const Case cases[] = {
      {{{1709303520, 1, 1, 1, 1, 0}, {1709303520, 1, 1, 1, 1, 0}},
       false,
       "argument 'timestamps': 2024-03-01 14:32 is not after the last bar, 2024-03-01 14:32"},
      {{{1709303401, 1, 1, 1, 1, 0}}, true,
       "argument 'timestamps': 2024-03-01 14:30:01 is not the last bar's time, 2024-03-01 14:31"},
      {{{1709303460, 2, 2, 2, 2, 0}}, true, std::nullopt},
      {{{1709303461, 2, 2, 2, 2, 0}}, false, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(api::grow_refusal(chart, c.more, c.update, "timestamps"), c.refusal);
  EXPECT_EQ(api::bar_time_text(-1, coords::kUtc), "1969-12-31 23:59:59");
}

// Closes with gaps, so that the recursions restart on the way; grown a bar at a time with an update of each.
TEST(LiveChart, ResumedStudiesEqualThoseRunFromTheFirstBar) {
  std::vector<model::Bar> bars;
  for (int i = 0; i < 90; ++i) {
    const double c = 50.0 + 10.0 * std::sin(i * 0.3) + (i % 37 == 20 ? kNaN : 0.0);
    bars.push_back({60 * i, c - 0.5, c + 1.0, c - 1.0, c, 100.0 + i});
  }
  struct Case {
    const api::IndicatorSpec* row;
    std::vector<api::ArgValue> args;
  };
  const Case cases[] = {{&api::kEmaRow, {std::uint64_t{5}, std::string_view("#fff")}},
                        {&api::kRsiRow, {std::uint64_t{5}}},
                        {&api::kMacdRow, {std::uint64_t{5}, std::uint64_t{9}, std::uint64_t{4}}}};
  for (const auto& [row, args] : cases) {
    api::Chart grown = api::Chart::make(400, 300);
    grown.bars = model::BarColumns(std::span(bars).first(10));
    const std::span<const api::ArgValue> given(args);
    grown = api::add_live_study(std::move(grown), api::computed_indicator(*row, given, grown.bars, coords::kUtc),
                                api::live_study(*row, given), api::kNoneDefault);
    for (std::size_t i = 10; i < bars.size(); ++i) {
      model::Bar early = bars[i];
      early.close += 3.0;
      grown = api::append_bars(std::move(grown), model::BarColumns{early});
      grown = api::update_last_bar(std::move(grown), bars[i]);
    }
    const model::Indicator whole = api::computed_indicator(*row, given, grown.bars, coords::kUtc);
    const model::Indicator& ours = grown.config.indicators[0];
    ASSERT_EQ(ours.vectors.size(), whole.vectors.size());
    for (std::size_t k = 0; k < whole.vectors.size(); ++k) {
      const auto& a = ours.vectors[k].values;
      const auto& b = whole.vectors[k].values;
      ASSERT_EQ(a.size(), b.size());
      for (std::size_t t = 0; t < a.size(); ++t) {
        EXPECT_TRUE(std::isnan(a[t]) ? std::isnan(b[t]) : a[t] == b[t]) << row->method << " " << k << " " << t;
      }
    }
  }
}

}  // namespace
