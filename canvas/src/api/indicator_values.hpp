// Value series of the computed indicators, one value per input bar and NaN where a bar has none.
// Sums run from the oldest value to the newest and each formula keeps its own order of operations,
// so that results agree to the last bit with the published arithmetic.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qc::api {

// Mean of the `period` closes ending at each bar. A period of 0 gives no values.
std::vector<double> sma_values(std::span<const double> closes, std::uint64_t period);

// Exponential average seeded with the first window's mean, smoothing 2 / (period + 1).
std::vector<double> ema_values(std::span<const double> closes, std::uint64_t period);

// Wilder's relative strength index, seeded with the mean of the first `period` gains and losses;
// 100 wherever the average loss is 0.
std::vector<double> rsi_values(std::span<const double> closes, std::uint64_t period);

struct MacdValues {
  std::vector<double> line;
  std::vector<double> signal;
  std::vector<double> histogram;
};

// Fast minus slow exponential average; its signal line is an exponential average of the line that
// starts at the line's first value and ends for good at a NaN in the line.
MacdValues macd_values(std::span<const double> closes, std::uint64_t fast, std::uint64_t slow,
                       std::uint64_t signal);

struct BandValues {
  std::vector<double> middle;
  std::vector<double> upper;
  std::vector<double> lower;
};

// Window mean plus and minus `multiplier` population standard deviations.
BandValues bollinger_values(std::span<const double> closes, std::uint64_t period, double multiplier);

// The same into lines of the closes' length, written only where they have a value: a caller that holds
// its lines already spares their allocation and copy.
struct BandLines {
  std::span<double> middle;
  std::span<double> upper;
  std::span<double> lower;
};
void bollinger_values(std::span<const double> closes, std::uint64_t period, double multiplier, BandLines out);

}  // namespace qc::api
