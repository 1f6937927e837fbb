// The Python class Chart: the chart builder. Its methods come in groups, one file and one table each.
#pragma once

#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "api/chart.hpp"
#include "api/user_series.hpp"
#include "class.hpp"
#include "rows.hpp"

namespace qcpy {

struct ChartClass {
  // Absent only after an internal failure inside a builder method.
  using Value = std::optional<qc::api::Chart>;
  static constexpr const char* name = "Chart";
  static constexpr const char* doc =
      "A price chart of OHLCV bars: set the bars, add studies, signals and drawings, then render it as one SVG\n"
      "document (render_svg), as PNG or PDF bytes, or save it to a file.\n"
      "\n"
      "Example:\n"
      "    >>> import quorvel_canvas as qc\n"
      "    >>> chart = qc.Chart(800, 400)\n"
      "    >>> chart.bars([qc.Bar(1704153600 + 86400 * i, 100 + i, 102 + i, 99 + i, 101 + i, 1e6) for i in range(60)])\n"
      "    >>> chart.sma(20, \"#2962ff\")\n"
      "    >>> chart.volume()\n"
      "    >>> chart.render_svg().startswith(\"<?xml\")\n"
      "    True";
  static ClassSpec spec();
  // The chart's JSON text, for pickling; and the chart again from it (ValueError when it does not read).
  static std::string state(const Value& v);
  static Value from_state(std::string_view state);
  // The chart's bar times and zone, which dates in arguments are placed on (on a chart drawn as boxes, the
  // user's bars and each box's last bar); none once consumed.
  static std::optional<qc::coords::BarClock> bar_clock(const Value& chart);
};

using ChartCall = Call<ChartClass>;
using ChartRow = MethodRow<ChartClass>;

// The chart a call reads.
inline const qc::api::Chart& chart_of(ChartCall& call) {
  const std::optional<qc::api::Chart>& chart = call.value();
  if (!chart) throw Panic("Chart already consumed");
  return *chart;
}

// The method groups, in the order the class lists them (each defined in its own chart_*.cpp).
MethodGroup chart_settings_methods();
MethodGroup chart_signal_methods();
MethodGroup chart_marker_methods();
MethodGroup chart_indicator_methods();
MethodGroup chart_compare_methods();
MethodGroup chart_primitive_methods();
MethodGroup chart_copy_methods();
MethodGroup chart_json_methods();
MethodGroup chart_output_methods();
MethodGroup chart_page_methods();
MethodGroup chart_user_series_methods();
MethodGroup chart_box_methods();
MethodGroup chart_live_methods();
MethodGroup chart_format_methods();
// A style of the bars as they are (chart_boxes.cpp): a chart drawn as boxes gets its bars back, refused
// while anything is placed on the boxes.
void set_bar_style(ChartCall& call, qc::api::SeriesConfig series);
// New bars; a chart drawn as boxes makes its boxes from them, refused when its box style refuses the bars.
void set_user_bars(ChartCall& call, qc::model::BarColumns bars);
// The pane a `pane` argument names ('price', 'new' where `fresh_allowed`, or a pane's number), or ValueError
// naming it; `use` says what the pane is for, in the refusal of 'new' (chart_user_series.cpp).
qc::api::PaneTarget pane_target(const Converted& given, const qc::api::ChartConfig& config, bool fresh_allowed,
                                std::string_view use = "a level");
// The body of `overlay`, whose row stands with the studies' (chart_user_series.cpp).
PyObject* overlay_body(ChartCall& call);
// The module's private _png_from_svg (chart_output.cpp), for the tests of the PNG output.
void add_png_from_svg(PyObject* module);

// Takes the chart out of the object, hands it to `op` (qc::api::Chart&& -> qc::api::Chart) and stores
// the result back. If `op` breaks an invariant, the object is left without a chart, and every later
// builder call fails with "Chart already consumed". Running out of memory is no broken invariant: the
// chart goes back as `op` left it (the builders change it in place before handing it on), so that a
// caller who catches the MemoryError keeps a usable chart. Build records that need no chart before
// calling this.
template <class Op>
void with_chart(ChartCall& call, Op&& op) {
  std::optional<qc::api::Chart>& slot = call.value();
  if (!slot) throw Panic("Chart already consumed");
  qc::api::Chart chart = std::move(*slot);
  slot.reset();
  try {
    slot.emplace(std::forward<Op>(op)(std::move(chart)));
  } catch (const std::bad_alloc&) {
    slot.emplace(std::move(chart));
    throw;
  }
}

}  // namespace qcpy
