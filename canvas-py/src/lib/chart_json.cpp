// Chart methods for the chart as data: to_json, the static from_json, and pickling through the same text.
#include <string>

#include "api/chart_json.hpp"
#include "chart.hpp"
#include "pickle.hpp"

namespace qcpy {

std::string ChartClass::state(const Value& v) {
  if (!v) throw Panic("Chart already consumed");
  return qc::api::chart_to_json(*v);
}

ChartClass::Value ChartClass::from_state(std::string_view state) {
  std::string error;
  std::optional<qc::api::Chart> chart = qc::api::chart_from_json(state, error);
  if (!chart) {
    PyErr_SetString(PyExc_ValueError, error.c_str());
    throw PyErrorPending{};
  }
  return chart;
}

namespace {

using namespace param;

constexpr ChartRow kRows[] = {
    {"to_json",
     "The whole chart as one JSON text (its settings, bars, studies with their values, tools, signals, view, "
     "colours and time zone), which from_json makes into the same chart again",
     {}, Borrow::shared, [](ChartCall& c) { return to_py(ChartClass::state(c.value())); }, nullptr, "str"},
    {"from_json",
     "The chart a to_json text holds, computing nothing; raises ValueError naming the first bad key path",
     {text("text").means("a text that to_json wrote")}, Borrow::none,
     [](ChartCall& c) { return new_object<ChartClass>(ChartClass::from_state(c.args.text(0))); }, nullptr,
     "Chart"},
};

}  // namespace

MethodGroup chart_json_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
