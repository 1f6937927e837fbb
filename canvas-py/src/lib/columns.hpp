// Bars from columns: numpy arrays, pandas columns, array.array, memoryviews and plain sequences read
// straight into the columns of new bars.
#pragma once

#include <vector>

#include "model/series/bar_columns.hpp"
#include "params.hpp"

namespace qcpy {

// Reads the held column arguments (timestamps, open, high, low, close and an optional volume, in the
// parameters' order) into new bars; raises (PyErrorPending) on the first column that cannot be read, then
// on columns of different lengths.
qc::model::BarColumns bars_from_columns(Args& args, const Params& params);

}  // namespace qcpy
