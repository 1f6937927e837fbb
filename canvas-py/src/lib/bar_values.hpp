// A column of the caller's values with one entry per bar of the chart.
#pragma once

#include <string_view>
#include <vector>

#include "api/chart.hpp"
#include "py.hpp"

namespace qcpy {

// The numbers of `column` (as a number list argument reads them: buffers, `__array__`, sequences), one per bar
// of the chart; another count raises ValueError "argument '<arg>': 5217 values for 300 bars" (PyErrorPending).
std::vector<double> bar_values(PyObject* column, const qc::api::Chart& chart, std::string_view arg);

}  // namespace qcpy
