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

// Why `more` is refused after the chart's last bar (`update`: more[0] in place of the last bar), as the
// Python module words it with the bars given as argument `arg`; none when they are taken. Times are written
// in the chart's zone: "argument 'bar': 2024-03-01 14:30 is not after the last bar, 2024-03-01 14:31" for
// the first of `more` not after the bar before it, "argument 'bar': 2024-03-01 14:30 is not the last bar's
// time, 2024-03-01 14:31" or "argument 'bar': the chart has no bar to update"; on a chart drawn as boxes,
// the box style's refusal of the bars grown under the box settled at its call ("renko() refuses these bars:
// argument 'box': ...").
std::optional<std::string> grow_refusal(const Chart& chart, model::BarsView more, bool update, std::string_view arg);

// The chart with `more` after its last bar and with its last bar replaced by `bar` (both checked by
// grow_refusal). On a chart drawn as boxes the boxes follow under the box settled at the style's
// call, and the records from the first box that changes.
Chart append_bars(Chart&& chart, model::BarsView more);
// The same in place: `more` appended, or the last bar replaced by more[0] (`update`).
void grow_chart(Chart& chart, model::BarsView more, bool update);
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
