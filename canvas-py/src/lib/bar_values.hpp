// The one reader of a per-bar value column (a series of the caller's, one side of a fill, a marker's price
// or mask), with the rule that places it on the boxes of a chart drawn as boxes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "api/box_chart.hpp"
#include "api/chart.hpp"
#include "py.hpp"

namespace qcpy {

// One value per bar of the chart, read as the f64_list kind reads numbers (buffers, `__array__`, sequences).
// Another length raises (PyErrorPending) ValueError "argument '<arg>': 5217 values for 300 bars". On a chart
// drawn as boxes, a column of one value per bar gives each box its last bar's value and one of one value per
// box is taken as it is ("... values for 1004 bars or 137 boxes" for another length).
qc::model::Values bar_values(PyObject* column, const qc::api::Chart& chart, std::string_view arg);

// The same, or, for one number, that number at every bar.
qc::model::Values bar_values_or_constant(PyObject* column, const qc::api::Chart& chart, std::string_view arg);

// What a column of another length is refused for: "300 bars", or "1004 bars or 137 boxes".
std::string slots_text(const qc::api::Chart& chart);

// Whether a column of `n` values fits the chart: one per user bar, or one per box.
bool fits_slots(std::size_t n, const qc::api::Chart& chart);

// A column that fits (fits_slots) as one value per slot the chart draws.
template <class Vec>
Vec on_slots(Vec values, const qc::api::Chart& chart) {
  using T = typename Vec::value_type;
  if (!chart.boxed() || values.size() != chart.source.bars.size()) return values;
  return qc::api::on_boxes<T, Vec>(std::span<const T>(values), chart.source.last_bar);
}

}  // namespace qcpy
