// The one reader of a per-bar value column (a series of the caller's, one side of a fill).
#pragma once

#include <string_view>
#include <vector>

#include "api/chart.hpp"
#include "py.hpp"

namespace qcpy {

// One value per bar of the chart, read as the f64_list kind reads numbers (buffers, `__array__`, sequences).
// Another length raises (PyErrorPending) ValueError "argument '<arg>': 5217 values for 300 bars".
std::vector<double> bar_values(PyObject* column, const qc::api::Chart& chart, std::string_view arg);

// The same, or, for one number, that number at every bar.
std::vector<double> bar_values_or_constant(PyObject* column, const qc::api::Chart& chart, std::string_view arg);

}  // namespace qcpy
