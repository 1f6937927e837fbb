// How large a chart's document will be, estimated from its element counts before it is written.
#pragma once

#include <cstddef>
#include <cstdint>

#include "api/config.hpp"

namespace qc::api {

// Bytes enough for the document of a chart with n bars whose coordinates stay below a million pixels, whose
// per-bar colours other than the volume band's are opaque and whose drawing tools write at most 4 KiB
// each; a larger document only makes its storage grow.
// With a view, n is the bars it draws and each vector counts at most `values` of its values. When the bars
// are grouped by device column, `columns` is the number of columns (0 when they are not).
std::size_t estimated_document_size(const ChartConfig& config, std::size_t n, std::size_t values = SIZE_MAX,
                                    std::size_t columns = 0);

}  // namespace qc::api
