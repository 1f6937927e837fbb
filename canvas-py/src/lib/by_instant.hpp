// A pandas object with a datetime index (a Series, a one-column frame's column, ...) aligned to a chart's
// bars by instant, for every method that takes one value per bar.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "api/chart.hpp"
#include "py.hpp"

namespace qcpy {

// True for an object with an `index` whose values are datetime64 (naive or with a zone) and a
// `to_numpy()`: the objects values_by_instant aligns.
bool has_time_index(PyObject* o);

// The object's index instants (read as below) and its values, one each, the argument named in any error.
struct IndexedValues {
  std::vector<std::int64_t> instants;
  qc::model::Values values;
};
IndexedValues indexed_values(PyObject* o, std::string_view arg);

// One value per bar the user gave the chart (its boxes not counted): the object's value whose index instant
// equals the bar's time, NaN where none does. Index instants are read as bars_from_columns reads timestamps (naive datetime64 as UTC, those
// with a zone by their instants, floored to seconds); the values are the numbers (or booleans, as 1 and
// 0) of `to_numpy()`. Raises ValueError "argument '<arg>': the index repeats <instant>" for an instant
// found twice, and the conversion errors of the columns, all naming the argument. O(n log n) in the
// index's length plus O(bars log n).
qc::model::Values values_by_instant(PyObject* o, const qc::api::Chart& chart, std::string_view arg);

}  // namespace qcpy
