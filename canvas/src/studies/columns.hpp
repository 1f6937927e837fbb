// The bars as columns, the form every study reads: the chart's own columns, read in place, and the clock.
#pragma once

#include "coords/time_zone.hpp"
#include "model/series/bar_columns.hpp"

namespace qc::studies {

struct Columns : model::BarsView {
  // The clock calendar periods are read on.
  const coords::TimeZone* zone = &coords::kUtc;
};

}  // namespace qc::studies
