// Records joining a chart: a default colour that a line, histogram or fill of the same pane already draws
// gives way to one of the user palette's that none there draws.
#pragma once

#include <cstdint>

#include "api/chart.hpp"
#include "model/indicators.hpp"

namespace qc::api {

// Which of a record's vectors (bit i: vector i) are drawn in their defaults, which the chart may change; the
// others hold colours the caller gave, kept as given.
using DefaultColors = std::uint32_t;
inline constexpr DefaultColors kAllDefault = ~DefaultColors{0};
inline constexpr DefaultColors kNoneDefault = 0;

// The chart with `record` after its other records. Each colour of a default vector whose red, green and blue
// a line, histogram (the chart's up and down colours where it has none of its own) or fill of an earlier
// record in the same pane draws takes, at its own alpha, the first of kUserSeriesColors drawn there by the
// fewest records (one drawn by none when there is one, so that all eight drawn once repeat from the first),
// the colours this record draws counted; one default colour met twice in the record takes one colour. A
// record that makes a pane of its own keeps its defaults.
Chart add_record(Chart&& chart, model::Indicator record, DefaultColors defaults);

}  // namespace qc::api
