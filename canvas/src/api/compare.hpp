// Another symbol's closes on the main pane, and the bases a per cent or indexed scale measures from.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "api/value_range.hpp"
#include "model/indicators.hpp"
#include "model/series/bar_columns.hpp"

namespace qc::api {

// The closes as one line named `name` in `color` on the main pane, measured from its own base.
model::Indicator compare_indicator(std::string_view name, model::Values closes, std::string_view color);

// The main series' base: the index (in the full series) of the first of the drawn bars, `first` onwards,
// whose real close is finite and not zero; none when no drawn close is.
std::optional<std::size_t> main_base_index(model::BarsView drawn, std::size_t first);

// A line's own base: its first finite value at the indices `at`; none when that is zero or there is none.
std::optional<double> own_base(const model::Indicator& line, ValueIndices at);

}  // namespace qc::api
