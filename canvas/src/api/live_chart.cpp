// Bars appended and updated in place: the records follow from the first bar that changed, a recursion from
// the state it kept, a window study over the bars its windows reach, the others from bar 0.
#include "api/live_chart.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>
#include <vector>

#include "api/series_names.hpp"
#include "coords/civil_calendar.hpp"
#include "studies/window.hpp"

namespace qc::api {
namespace {

// The caller's values hold the bars they were given for; the bars after them have none.
void hold_given(LiveRecord& rec, model::Indicator& ind, std::size_t n) {
  const std::size_t held = ind.vectors.empty() ? 0 : ind.vectors[0].values.size();
  rec.given = std::min(rec.given.value_or(held), n);
  for (model::IndicatorVector& v : ind.vectors) {
    v.values.resize(n, studies::kNaN);
    if (!v.up_flags.empty()) v.up_flags.resize(n, 1);
  }
  if (!ind.runs.empty()) ind.runs.resize(n, ind.runs.back());
}

// A window study's values from bar `from` on, computed again over the bars from the first its windows read;
// false where they cannot be (the record then computes from bar 0).
bool follow_tail(LiveStudy& s, model::Indicator& ind, model::BarsView bars, std::size_t from,
                 const studies::StudyArgs& args, const coords::TimeZone& zone) {
  const std::size_t reach = s.row->reach(args);
  if (reach == 0 || from + 1 < reach) return false;
  const std::size_t first = from + 1 - reach;
  const std::size_t n = bars.size();
  if (s.tail.vectors.size() != ind.vectors.size()) s.tail.vectors.assign(ind.vectors.size(), {});
  if (!run_study(*s.row, args, bars.subview(first, n - first), s.tail, zone)) return false;
  const auto skip = static_cast<std::ptrdiff_t>(from - first);
  for (std::size_t k = 0; k < ind.vectors.size(); ++k) {
    model::IndicatorVector& to = ind.vectors[k];
    const model::IndicatorVector& got = s.tail.vectors[k];
    to.values.resize(n);
    std::copy(got.values.begin() + skip, got.values.end(), to.values.begin() + static_cast<std::ptrdiff_t>(from));
    if (got.up_flags.empty()) continue;
    to.up_flags.resize(n, 1);
    std::copy(got.up_flags.begin() + skip, got.up_flags.end(), to.up_flags.begin() + static_cast<std::ptrdiff_t>(from));
  }
  return true;
}

// Every record over the chart's bars, whose bars before `from` are unchanged.
void follow(Chart& chart, std::size_t from) {
  std::vector<model::Indicator>& records = chart.config.indicators;
  if (chart.live.size() < records.size()) chart.live.resize(records.size());
  const model::BarsView bars = chart.bars;
  for (std::size_t i = 0; i < records.size(); ++i) {
    LiveRecord& rec = chart.live[i];
    if (rec.study) {
      rec.study->follow(*rec.study, records[i], bars, from, chart.config.time_zone);
    } else {
      hold_given(rec, records[i], bars.size());
    }
  }
}

void replace_last(model::BarColumns& bars, const model::Bar& bar) {
  bars.time().back() = bar.timestamp;
  bars.open().back() = bar.open;
  bars.high().back() = bar.high;
  bars.low().back() = bar.low;
  bars.close().back() = bar.close;
  bars.volume().back() = bar.volume;
}

// The user bars grown as asked: `more` appended, or the last replaced by more[0].
void grow(model::BarColumns& bars, model::BarsView more, bool update) {
  if (update) {
    replace_last(bars, more[0]);
    return;
  }
  for (const model::Bar bar : more) bars.push_back(bar);
}

// The first box that differs between two runs of boxes (the shorter's length where one begins the other).
std::size_t first_change(model::BarsView a, model::BarsView b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (a.time[i] != b.time[i] || a.open[i] != b.open[i] || a.high[i] != b.high[i] || a.low[i] != b.low[i] ||
        a.close[i] != b.close[i] || a.volume[i] != b.volume[i]) {
      return i;
    }
  }
  return n;
}

// Why `more` cannot follow the last bar, in the chart's zone.
std::optional<std::string> append_fault(const Chart& chart, model::BarsView more) {
  const model::BarsView have = chart.user_bars();
  const coords::TimeZone& zone = chart.config.time_zone;
  std::optional<std::int64_t> before;
  if (!have.empty()) before = have.time.back();
  for (const std::int64_t t : more.time) {
    if (before && t <= *before) {
      return bar_time_text(t, zone) + " is not after the last bar, " + bar_time_text(*before, zone);
    }
    before = t;
  }
  return std::nullopt;
}

// Why `bar` cannot replace the last bar, in the chart's zone.
std::optional<std::string> update_fault(const Chart& chart, const model::Bar& bar) {
  const model::BarsView have = chart.user_bars();
  if (have.empty()) return "the chart has no bar to update";
  const std::int64_t last = have.time.back();
  if (bar.timestamp == last) return std::nullopt;
  const coords::TimeZone& zone = chart.config.time_zone;
  return bar_time_text(bar.timestamp, zone) + " is not the last bar's time, " + bar_time_text(last, zone);
}


}  // namespace

void follow_study(LiveStudy& s, model::Indicator& ind, model::BarsView bars, std::size_t from,
                  const coords::TimeZone& zone) {
  const std::size_t n = bars.size();
  const std::size_t held = ind.vectors.empty() ? 0 : ind.vectors[0].values.size();
  if (s.per_bar != nullptr) {
    s.per_bar(bars, std::min(from, held), ind);
    return;
  }
  // Before the first follow the values are the call's, over the bars there were.
  if (!s.args && held > 0) s.args = s.args_at(*s.row, s.call, held);
  const std::optional<studies::StudyArgs> args = s.args_at(*s.row, s.call, n);
  if (!args) {
    if (s.blank_when_idle) {
      fill_with_nan(ind, n);
    } else {
      for (model::IndicatorVector& v : ind.vectors) v.values.clear();
    }
    s.args.reset();
    s.resume.clear();
    return;
  }
  const bool same = s.args == args && ind.runs.empty() && from > 0 && from <= held;
  if (same && from == n && held == n) return;  // no bar it reads changed (a tick within a box)
  if (same && s.resume.start_at(from)) {
    if (!run_study(*s.row, *args, bars, ind, zone, &s.resume)) s.args.reset();
    return;
  }
  if (same && s.row->reach != nullptr && follow_tail(s, ind, bars, from, *args, zone)) return;
  s.resume.clear();
  s.args = run_study(*s.row, *args, bars, ind, zone, &s.resume) ? args : std::nullopt;
}

Chart add_live_study(Chart&& chart, model::Indicator ind, LiveStudy study, DefaultColors defaults) {
  const std::size_t index = chart.config.indicators.size();
  chart = add_record(std::move(chart), std::move(ind), defaults);
  chart.live.resize(index + 1);
  chart.live[index].study = std::move(study);
  return std::move(chart);
}

std::string bar_time_text(std::int64_t ts, const coords::TimeZone& zone) {
  const std::int64_t local = zone.local(ts);
  const coords::CalendarFields f = coords::calendar_fields(local);
  const std::int64_t seconds = local - coords::floor_div(local, 60) * 60;
  char buf[48];
  int len = std::snprintf(buf, sizeof buf, "%04lld-%02d-%02d %02d:%02d", static_cast<long long>(f.year), f.month, f.day,
                          f.hour, f.minute);
  if (seconds != 0) len += std::snprintf(buf + len, sizeof buf - static_cast<std::size_t>(len), ":%02d", static_cast<int>(seconds));
  return std::string(buf, static_cast<std::size_t>(len));
}

std::optional<std::string> grow_refusal(const Chart& chart, model::BarsView more, bool update, std::string_view arg) {
  std::optional<std::string> fault = update ? update_fault(chart, more[0]) : append_fault(chart, more);
  if (fault) return "argument '" + std::string(arg) + "': " + *fault;
  if (!chart.boxed()) return std::nullopt;
  // The box stays the one settled at the style's call: only the count of boxes can refuse the new bars.
  model::BarColumns source = chart.source.bars;
  grow(source, more, update);
  const SettledBoxes settled = settle_boxes(source, {chart.config.series.boxes, false});
  if (settled.fault == BoxFault::none) return std::nullopt;
  return std::string(series_name(chart.config.series.series_type)) +
         "() refuses these bars: " + box_refusal(settled, chart.source.atr, source.size());
}

void grow_chart(Chart& chart, model::BarsView more, bool update) {
  if (!chart.boxed()) {
    const std::size_t from = update ? chart.bars.size() - 1 : chart.bars.size();
    grow(chart.bars, more, update);
    follow(chart, from);
    return;
  }
  // The box stays the one settled at the style's call, an ATR box included.
  model::BarColumns source = chart.source.bars;
  grow(source, more, update);
  model::Boxes boxes = model::make_boxes(source, chart.config.series.boxes);
  const std::size_t from = first_change(chart.bars, boxes.bars);
  chart.source.bars = std::move(source);
  chart.source.last_bar = std::move(boxes.last_bar);
  chart.bars = std::move(boxes.bars);
  follow(chart, from);
}

Chart append_bars(Chart&& chart, model::BarsView more) {
  grow_chart(chart, more, false);
  return std::move(chart);
}

Chart update_last_bar(Chart&& chart, const model::Bar& bar) {
  const model::BarColumns one{bar};
  grow_chart(chart, one, true);
  return std::move(chart);
}

std::optional<std::size_t> user_series_named(const Chart& chart, std::string_view name) {
  const std::vector<model::Indicator>& records = chart.config.indicators;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const model::Indicator& ind = records[i];
    const bool studied = i < chart.live.size() && chart.live[i].study;
    const bool series = ind.id == "compare" || ind.id.starts_with("custom_");
    if (!studied && series && ind.vectors.size() == 1 && ind.name == name) return i;
  }
  return std::nullopt;
}

std::size_t series_shortfall(const Chart& chart, std::size_t index) {
  const std::size_t n = chart.bars.size();
  const std::size_t held = chart.config.indicators[index].vectors[0].values.size();
  const std::size_t given =
      index < chart.live.size() && chart.live[index].given ? *chart.live[index].given : std::min(held, n);
  return n > given ? n - given : 0;
}

Chart extend_series(Chart&& chart, std::size_t index, std::span<const double> values) {
  const std::size_t n = chart.bars.size();
  const std::size_t given = n - series_shortfall(chart, index);
  if (chart.live.size() <= index) chart.live.resize(index + 1);
  model::Values& line = chart.config.indicators[index].vectors[0].values;
  line.resize(n, studies::kNaN);
  std::copy(values.begin(), values.end(), line.begin() + static_cast<std::ptrdiff_t>(given));
  chart.live[index].given = given + values.size();
  return std::move(chart);
}

}  // namespace qc::api
