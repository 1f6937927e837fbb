// A chart that grows in place: bars appended after the last and the last bar updated, each record following
// them at the cost of what is new, and the caller's series extended.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "api/box_chart.hpp"
#include "api/chart.hpp"
#include "api/live_record.hpp"
#include "api/series_colors.hpp"

namespace qc::api {

// The chart with `ind` added (its default colours giving way as add_record says), `study` computing it again
// as bars come.
Chart add_live_study(Chart&& chart, model::Indicator ind, LiveStudy study, DefaultColors defaults);

// Why bars are refused, in the chart's zone: "2024-03-01 14:30 is not after the last bar, 2024-03-01 14:31"
// for the first of `more` not after the bar before it (append), "2024-03-01 14:30 is not the last bar's
// time, 2024-03-01 14:31" or "the chart has no bar to update" (update); none when they are taken.
std::optional<std::string> append_fault(const Chart& chart, model::BarsView more);
std::optional<std::string> update_fault(const Chart& chart, const model::Bar& bar);

// On a chart drawn as boxes, the boxes its user bars give with `more` after them (or the last bar replaced
// by more[0], `update`), under the box settled at the style's call; the fault that refuses them, if any.
SettledBoxes settle_grown(const Chart& chart, model::BarsView more, bool update);

// The chart with `more` after its last bar (checked by append_fault) and with its last bar replaced by `bar`
// (checked by update_fault). On a chart drawn as boxes the boxes follow under the box settled at the style's
// call, and the records from the first box that changes.
Chart append_bars(Chart&& chart, model::BarsView more);
Chart update_last_bar(Chart&& chart, const model::Bar& bar);

// The caller's overlay or compare series named `name`, by index among the records; none when there is none.
std::optional<std::size_t> user_series_named(const Chart& chart, std::string_view name);
// How many values the series at `index` takes to reach the last bar (or box).
std::size_t series_shortfall(const Chart& chart, std::size_t index);
// The chart with `values` (series_shortfall of them) after the given ones of the series at `index`.
Chart extend_series(Chart&& chart, std::size_t index, std::span<const double> values);

// A bar's time as the refusals write it, in `zone`: "2024-03-01 14:30", with ":SS" when the seconds are not 0.
std::string bar_time_text(std::int64_t ts, const coords::TimeZone& zone);

}  // namespace qc::api
