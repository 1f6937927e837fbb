// Mean and mean absolute deviation around it over a sliding window, the two halves of the commodity
// channel index.
#pragma once

#include <cstddef>
#include <span>

namespace qc::studies {

// For each bar t with p finite values ending at t: mean[t] = their mean, deviation[t] = the mean of
// |x_j − mean[t]| over them; NaN elsewhere. The deviation has no O(1) update (every term moves with the
// mean), so short windows are summed directly (O(n·p)) and long ones use a Fenwick tree over the ranks
// of x (O(n log n)). A window of p equal values has deviation exactly 0 and mean the value on both paths.
void window_mean_deviation(std::span<const double> x, std::size_t p, std::span<double> mean,
                           std::span<double> deviation);

// The window length above which the ranked path is taken.
inline constexpr std::size_t kDirectDeviationMax = 128;

}  // namespace qc::studies
