// Bars from columns: numpy arrays, pandas columns, array.array, memoryviews and plain sequences read
// straight into the columns of new bars.
#pragma once

#include <cstdint>
#include <vector>

#include "model/series/bar_columns.hpp"
#include "params.hpp"

namespace qcpy {

// Reads the held column arguments (timestamps, open, high, low, close and an optional volume, in the
// parameters' order) into new bars; raises (PyErrorPending) on the first column that cannot be read, then
// on columns of different lengths.
qc::model::BarColumns bars_from_columns(Args& args, const Params& params);

// The parameters of the methods that take bars as columns, in the order bars_from_columns reads them.
inline constexpr Params kBarColumnParams = {
    param::time_column("timestamps"), param::number_column("open"),        param::number_column("high"),
    param::number_column("low"),      param::number_column("close"),       param::opt_number_column("volume"),
    param::time_unit("unit")};

// A column of timestamps read as bars_from_columns reads its `timestamps` (integer seconds, or datetime64
// values in their own unit, naive ones as UTC, those with a zone by their instants), in seconds.
std::vector<std::int64_t> time_column(PyObject* column, const char* name);

// The kind letter of an object's dtype ('M' datetime64, 'b' boolean, ...); 0 without one.
char dtype_kind(PyObject* o);

}  // namespace qcpy
