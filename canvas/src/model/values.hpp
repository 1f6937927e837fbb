// The storage of a line's values: one double per bar.
#pragma once

#include <vector>

#include "util/huge_pages.hpp"

namespace qc::model {

// At a million bars a line holds 8 MB: it comes in 2 MiB pages, or from the blocks the thread's charts gave
// back, rather than at a page fault per 4 kB on its first write. Sizing it writes nothing: whatever makes room
// for values (a study, a column read from the caller, the JSON reader) writes every one of them.
using Values = std::vector<double, util::UnwrittenHugePageAllocator<double>>;

}  // namespace qc::model
