// Chart methods for a chart that grows in place: bars appended and the last one updated, and the caller's
// series extended over the new bars. Every check runs before the chart changes.
#include <string>
#include <utility>

#include "api/live_chart.hpp"
#include "chart.hpp"
#include "columns.hpp"
#include "convert.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::api::Chart;

[[noreturn]] void raise_value_error(const char* arg, const std::string& what) {
  const std::string message = "argument '" + std::string(arg) + "': " + what;
  PyErr_SetString(PyExc_ValueError, message.c_str());
  throw PyErrorPending{};
}

// Refuses, as the core words it, bars that cannot grow the chart (`update`: replace its last bar), `arg`
// naming them.
void check_growth(ChartCall& c, qc::model::BarsView more, bool update, const char* arg) {
  if (const auto refusal = qc::api::grow_refusal(chart_of(c), more, update, arg)) {
    PyErr_SetString(PyExc_ValueError, refusal->c_str());
    throw PyErrorPending{};
  }
}

void append_checked(ChartCall& c, const qc::model::BarColumns& more, const char* arg) {
  if (more.empty()) return;
  check_growth(c, more, false, arg);
  with_chart(c, [&](Chart&& chart) { return qc::api::append_bars(std::move(chart), more); });
}

PyObject* append_bar(ChartCall& c) {
  append_checked(c, qc::model::BarColumns(c.args.bar_list(0)), "bar");
  return none();
}

PyObject* append_columns(ChartCall& c) {
  append_checked(c, bars_from_columns(c.args, c.params()), "timestamps");
  return none();
}

PyObject* update_bar(ChartCall& c) {
  const qc::model::Bar bar = c.args.bar_list(0).front();
  const qc::model::BarColumns one{bar};
  check_growth(c, one, true, "bar");
  with_chart(c, [&](Chart&& chart) { return qc::api::update_last_bar(std::move(chart), bar); });
  return none();
}

PyObject* extend_series(ChartCall& c) {
  const Chart& held = chart_of(c);
  const std::string& name = c.args.text(0);
  const auto index = qc::api::user_series_named(held, name);
  if (!index) raise_value_error("name", "no overlay or compare series is named '" + name + "'");
  const std::size_t wanted = qc::api::series_shortfall(held, *index);
  qc::model::Values values;
  try {
    values = to_f64_column(c.args.object(1), "values");
  } catch (const PyErrorPending&) {
    prefix_type_error("values");
    throw;
  }
  if (values.size() != wanted) {
    raise_value_error("values", std::to_string(values.size()) + " values for " + std::to_string(wanted) +
                                    (wanted == 1 ? " bar" : " bars"));
  }
  with_chart(c, [&](Chart&& chart) { return qc::api::extend_series(std::move(chart), *index, values); });
  return none();
}

constexpr ChartRow kRows[] = {
    {"append",
     "Add one bar after the last (a chart without bars starts with it); studies, boxes, the last price and the "
     "legend follow",
     {one_bar("bar").means("the new bar, its time after the last bar's")}, Borrow::exclusive, append_bar},
    {"append_columns",
     "Add bars after the last from columns, read as bars_from_columns reads them; studies, boxes, the last price "
     "and the legend follow",
     kBarColumnParams, Borrow::exclusive, append_columns},
    {"update",
     "Replace the last bar by one of the same time (the tick of the forming bar); studies, boxes, the last price "
     "and the legend follow",
     {one_bar("bar").means("the last bar as it now stands, its time the last bar's")}, Borrow::exclusive, update_bar},
    {"extend_series",
     "Extend an overlay or compare series over the bars appended after its values",
     {text("name").means("the series' name as given to overlay or compare"),
      number_column("values").means("one value per bar after those the series has, NaN where it has none")},
     Borrow::exclusive, extend_series},
};

}  // namespace

MethodGroup chart_live_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
