// The indicator methods that store no values: 22 price overlays and 45 sub-pane studies, as data rows.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "api/indicator_spec.hpp"

namespace qc::api {

inline constexpr std::size_t kDeclaredIndicatorCount = 67;

// The rows in method-list order: price overlays, then sub-pane studies with fixed, symmetric and
// automatic ranges.
std::span<const IndicatorSpec, kDeclaredIndicatorCount> declared_indicators();

// The row of a method, or null when no declared method has that name.
const IndicatorSpec* find_declared_indicator(std::string_view method);

}  // namespace qc::api
