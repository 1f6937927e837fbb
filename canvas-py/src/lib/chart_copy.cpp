// Chart methods for copying: copy.copy and copy.deepcopy make an independent chart; pickling is refused,
// since a chart is a builder to be filled where it is rendered.
#include "chart.hpp"

namespace qcpy {
namespace {

using namespace param;

// The chart value holds no Python objects, so a shallow and a deep copy are the same whole copy.
PyObject* copy_chart(ChartCall& c) { return new_object<ChartClass>(ChartClass::Value(c.value())); }

PyObject* refuse_pickle(ChartCall&) {
  PyErr_SetString(PyExc_TypeError,
                  "cannot pickle 'Chart' object: pickling a Chart is not supported; build the chart in the worker "
                  "process from its data and send back the rendered SVG text");
  throw PyErrorPending{};
}

constexpr ChartRow kRows[] = {
    {"__copy__", "An independent copy of the chart.", {}, Borrow::shared, copy_chart, nullptr, "Self"},
    {"__deepcopy__", "An independent copy of the chart.", {object("memo")}, Borrow::shared, copy_chart, nullptr,
     "Self"},
    {"__reduce__", "Refuses: a Chart does not pickle.", {}, Borrow::shared, refuse_pickle, nullptr, "NoReturn"},
};

}  // namespace

MethodGroup chart_copy_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
