// Chart methods for copying: copy.copy and copy.deepcopy make an independent chart (pickling goes through
// the chart's JSON text, chart_json.cpp).
#include "chart.hpp"

namespace qcpy {
namespace {

using namespace param;

// The chart value holds no Python objects, so a shallow and a deep copy are the same whole copy.
PyObject* copy_chart(ChartCall& c) { return new_object<ChartClass>(ChartClass::Value(c.value())); }

constexpr ChartRow kRows[] = {
    {"__copy__", "An independent copy of the chart.", {}, Borrow::shared, copy_chart, nullptr, "Self"},
    {"__deepcopy__", "An independent copy of the chart.", {object("memo")}, Borrow::shared, copy_chart, nullptr,
     "Self"},
};

}  // namespace

MethodGroup chart_copy_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
