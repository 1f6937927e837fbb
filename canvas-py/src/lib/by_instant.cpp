// Aligning a datetime-indexed object to the bars: its instants sorted once, each bar's time looked up.
#include "by_instant.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "buffers.hpp"
#include "columns.hpp"
#include "convert.hpp"
#include "coords/civil_calendar.hpp"

namespace qcpy {
namespace {

std::string utc_text(std::int64_t instant) {
  const qc::coords::CalendarFields f = qc::coords::calendar_fields(instant);
  const std::int64_t second = instant - qc::coords::floor_div(instant, 60) * 60;
  char text[48];
  std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02lldZ", static_cast<long long>(f.year), f.month,
                f.day, f.hour, f.minute, static_cast<long long>(second));
  return text;
}

// The numbers of an array: its own buffer, else the buffer of it cast to float64 (booleans, say), else
// its items one by one.
qc::model::Values numbers_of(PyObject* array, const char* name) {
  if (std::optional<qc::model::Values> values = floats_of_buffer(array, name)) return std::move(*values);
  if (dtype_kind(array) == 'b') {
    Ref cast = Ref::steal(PyObject_CallMethod(array, "astype", "s", "float64"));
    if (std::optional<qc::model::Values> values = floats_of_buffer(cast.get(), name)) return std::move(*values);
  }
  Ref items = Ref::steal(PySequence_Fast(array, "expected a column of numbers"));
  const Py_ssize_t n = PySequence_Fast_GET_SIZE(items.get());
  qc::model::Values values(static_cast<std::size_t>(n));
  for (Py_ssize_t i = 0; i < n; ++i) values[static_cast<std::size_t>(i)] = to_f64(PySequence_Fast_GET_ITEM(items.get(), i));
  return values;
}

}  // namespace

bool has_time_index(PyObject* o) {
  Ref index = optional_attr(o, "index");
  return index && dtype_kind(index.get()) == 'M' && PyObject_HasAttrString(o, "to_numpy");
}

IndexedValues indexed_values(PyObject* o, std::string_view arg) {
  const std::string name(arg);
  IndexedValues out;
  try {
    Ref index = Ref::steal(PyObject_GetAttrString(o, "index"));
    out.instants = time_column(index.get(), name.c_str());
    Ref array = Ref::steal(PyObject_CallMethod(o, "to_numpy", nullptr));
    out.values = numbers_of(array.get(), name.c_str());
  } catch (const PyErrorPending&) {
    prefix_type_error(name.c_str());
    throw;
  }
  if (out.values.size() != out.instants.size()) {
    PyErr_Format(PyExc_ValueError, "argument '%s': %zu values for an index of %zu instants", name.c_str(),
                 out.values.size(), out.instants.size());
    throw PyErrorPending{};
  }
  return out;
}

qc::model::Values values_by_instant(PyObject* o, const qc::api::Chart& chart, std::string_view arg) {
  const std::string name(arg);
  auto [instants, values] = indexed_values(o, arg);
  std::vector<std::pair<std::int64_t, double>> by_time(instants.size());
  for (std::size_t i = 0; i < instants.size(); ++i) by_time[i] = {instants[i], values[i]};
  const auto earlier = [](const auto& a, const auto& b) { return a.first < b.first; };
  std::sort(by_time.begin(), by_time.end(), earlier);
  const auto repeated =
      std::adjacent_find(by_time.begin(), by_time.end(), [](const auto& a, const auto& b) { return a.first == b.first; });
  if (repeated != by_time.end()) {
    PyErr_Format(PyExc_ValueError, "argument '%s': the index repeats %s", name.c_str(), utc_text(repeated->first).c_str());
    throw PyErrorPending{};
  }
  const auto times = chart.user_bars().view().time;
  qc::model::Values out(times.size(), std::numeric_limits<double>::quiet_NaN());
  for (std::size_t i = 0; i < times.size(); ++i) {
    const auto at = std::lower_bound(by_time.begin(), by_time.end(), std::pair{times[i], 0.0}, earlier);
    if (at != by_time.end() && at->first == times[i]) out[i] = at->second;
  }
  return out;
}

}  // namespace qcpy
