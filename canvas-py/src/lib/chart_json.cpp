// Chart methods for the chart as data: to_json, the static from_json, and pickling through the same text.
#include <string>

#include "api/chart_json.hpp"
#include "chart.hpp"
#include "pickle.hpp"
#include "util/huge_pages.hpp"

namespace qcpy {

namespace {

const qc::api::Chart& held(const ChartClass::Value& v) {
  if (!v) throw Panic("Chart already consumed");
  return *v;
}

}  // namespace

std::string ChartClass::state(const Value& v) { return qc::api::chart_to_json(held(v)); }

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

// The text written once, straight into the str that holds it. A text of only ASCII (the usual one: base64
// columns and plain names) is a str of one byte a character; another is decoded from UTF-8 as any text is.
PyObject* json_str(const ChartClass::Value& chart) {
  const qc::util::Base64Text text = qc::api::chart_json(held(chart));
  if (!text.ascii()) return to_py(text.str());
  const std::size_t size = text.size();
  Ref str = Ref::steal(PyUnicode_New(static_cast<Py_ssize_t>(size), 127));
  char* data = static_cast<char*>(PyUnicode_DATA(str.get()));
  qc::util::advise_huge_pages(data, size);
  text.write(data);
  return str.release();
}

constexpr ChartRow kRows[] = {
    {"to_json",
     "The whole chart as one JSON text (its settings, bars, studies with their values, tools, signals, view, "
     "colours and time zone), which from_json makes into the same chart again",
     {}, Borrow::shared, [](ChartCall& c) { return json_str(c.value()); }, nullptr, "str"},
    {"from_json",
     "The chart a to_json text holds, computing nothing; raises ValueError naming the first bad key path",
     {long_text("text").means("a text that to_json wrote")}, Borrow::none,
     [](ChartCall& c) { return new_object<ChartClass>(ChartClass::from_state(c.args.long_text(0))); }, nullptr,
     "Chart"},
};

}  // namespace

MethodGroup chart_json_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
