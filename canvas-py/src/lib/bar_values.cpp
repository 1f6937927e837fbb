// Per-bar value columns: read once, held to the chart's bar count.
#include "bar_values.hpp"

#include <string>

#include "by_instant.hpp"
#include "convert.hpp"

namespace qcpy {

std::vector<double> bar_values(PyObject* column, const qc::api::Chart& chart, std::string_view arg) {
  // A pandas object indexed by datetime64 is aligned to the bars by instant; any other column is taken value
  // by value.
  if (has_time_index(column)) return values_by_instant(column, chart, arg);
  const std::string name(arg);
  const std::size_t bars = chart.bars.size();
  // A buffer of another length is refused before it is read: an array that claims 2^59 items (a stride of
  // 0) would take the machine's memory first. Lists are read as they are, their items checked first.
  if (PyObject_CheckBuffer(column)) {
    const Py_ssize_t given = PyObject_Length(column);
    if (given < 0) {
      PyErr_Clear();
    } else if (static_cast<std::size_t>(given) != bars) {
      PyErr_Format(PyExc_ValueError, "argument '%s': %zd values for %zu bars", name.c_str(), given, bars);
      throw PyErrorPending{};
    }
  }
  std::vector<double> values;
  try {
    values = to_f64_list(column, name.c_str());
  } catch (const PyErrorPending&) {
    prefix_type_error(name.c_str());
    throw;
  }
  if (values.size() != bars) {
    PyErr_Format(PyExc_ValueError, "argument '%s': %zu values for %zu bars", name.c_str(), values.size(), bars);
    throw PyErrorPending{};
  }
  return values;
}

std::vector<double> bar_values_or_constant(PyObject* column, const qc::api::Chart& chart, std::string_view arg) {
  if (PyFloat_Check(column) || (PyLong_Check(column) && !PyBool_Check(column))) {
    return std::vector<double>(chart.bars.size(), to_f64(column));
  }
  return bar_values(column, chart, arg);
}

}  // namespace qcpy
