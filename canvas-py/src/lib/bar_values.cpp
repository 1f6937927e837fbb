// Per-bar value columns: read as number lists are, then held to the chart's bar count.
#include "bar_values.hpp"

#include <string>

#include "convert.hpp"
#include "errors.hpp"

namespace qcpy {

std::vector<double> bar_values(PyObject* column, const qc::api::Chart& chart, std::string_view arg) {
  const std::string name(arg);
  std::vector<double> values = std::get<std::vector<double>>(convert_argument(param::f64_list(name.c_str()), column));
  if (values.size() != chart.bars.size()) {
    PyErr_Format(PyExc_ValueError, "argument '%s': %zu values for %zu bars", name.c_str(), values.size(),
                 chart.bars.size());
    throw PyErrorPending{};
  }
  return values;
}

}  // namespace qcpy
