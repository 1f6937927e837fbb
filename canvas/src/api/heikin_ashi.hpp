// Heikin-Ashi bars: each bar's prices averaged with its own and the previous Heikin-Ashi bar's.
#pragma once

#include <span>
#include <vector>

#include "model/series/bar_columns.hpp"

namespace qc::api {

// One bar per bar, with the bar's timestamp and volume:
//   close = (O + H + L + C) / 4; open = (open' + close') / 2 of the previous Heikin-Ashi bar, (O + C) / 2 for
//   the first; high = max(H, open, close); low = min(L, open, close).
// A bar with a price that is not finite gets four NaN prices, and the bar after it starts afresh as a
// first bar.
model::BarColumns heikin_ashi_bars(model::BarsView bars);

}  // namespace qc::api
