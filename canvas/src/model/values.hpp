// The storage of a line's values: one double per bar.
#pragma once

#include <vector>

#include "util/huge_pages.hpp"

namespace qc::model {

// At a million bars a line holds 8 MB: it comes in 2 MiB pages, or from the blocks the thread's charts gave
// back, rather than at a page fault per 4 kB on its first write.
using Values = std::vector<double, util::HugePageAllocator<double>>;

}  // namespace qc::model
