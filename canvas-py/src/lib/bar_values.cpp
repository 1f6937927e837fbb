// Per-bar value columns: read once, held to the chart's bar (or box) count.
#include "bar_values.hpp"

#include "by_instant.hpp"
#include "convert.hpp"

namespace qcpy {

std::string slots_text(const qc::api::Chart& chart) {
  std::string text = std::to_string(chart.user_bars().size()) + " bars";
  if (chart.boxed()) text += " or " + std::to_string(chart.bars.size()) + " boxes";
  return text;
}

bool fits_slots(std::size_t n, const qc::api::Chart& chart) {
  return n == chart.user_bars().size() || n == chart.bars.size();
}

qc::model::Values bar_values(PyObject* column, const qc::api::Chart& chart, std::string_view arg) {
  // A pandas object indexed by datetime64 is aligned to the bars by instant; any other column is taken value
  // by value.
  if (has_time_index(column)) return on_slots(values_by_instant(column, chart, arg), chart);
  const std::string name(arg);
  const auto refuse = [&](std::size_t given) {
    PyErr_Format(PyExc_ValueError, "argument '%s': %zu values for %s", name.c_str(), given, slots_text(chart).c_str());
    throw PyErrorPending{};
  };
  // A buffer of another length is refused before it is read: an array that claims 2^59 items (a stride of
  // 0) would take the machine's memory first. Lists are read as they are, their items checked first.
  if (PyObject_CheckBuffer(column)) {
    const Py_ssize_t given = PyObject_Length(column);
    if (given < 0) {
      PyErr_Clear();
    } else if (!fits_slots(static_cast<std::size_t>(given), chart)) {
      refuse(static_cast<std::size_t>(given));
    }
  }
  qc::model::Values values;
  try {
    values = to_f64_column(column, name.c_str());
  } catch (const PyErrorPending&) {
    prefix_type_error(name.c_str());
    throw;
  }
  if (!fits_slots(values.size(), chart)) refuse(values.size());
  return on_slots(std::move(values), chart);
}

qc::model::Values bar_values_or_constant(PyObject* column, const qc::api::Chart& chart, std::string_view arg) {
  if (PyFloat_Check(column) || (PyLong_Check(column) && !PyBool_Check(column))) {
    return qc::model::Values(chart.bars.size(), to_f64(column));
  }
  return bar_values(column, chart, arg);
}

}  // namespace qcpy
