// Volume-weighted sums of the typical price from a start bar on: the mean VWAP draws and the spread of the
// bands around it.
#pragma once

#include <cmath>

namespace qc::studies {

// Fed one bar at a time with H + L + C and its volume. The mean is the sum of H + L + C weighted by volume
// over three times the volume, divided once rather than every typical price by 3. The spread is summed as
// squares of the distance from the first bar's H + L + C: squares of the prices themselves would cancel
// each other down to their rounding where the prices move little against their level.
class VwapSums {
 public:
  void add(double hlc, double volume) {
    if (volume_ == 0.0 && weighted_ == 0.0) origin_ = hlc;
    const double d = hlc - origin_;
    weighted_ += hlc * volume;
    squares_ += d * d * volume;
    volume_ += volume;
  }
  void reset() { *this = VwapSums(); }

  double volume() const { return volume_; }
  double mean() const { return weighted_ / (3.0 * volume_); }
  // The volume-weighted standard deviation of the typical price: 0 for a single price, and never the
  // root of a negative rounding residue.
  double deviation() const {
    const double shift = weighted_ / volume_ - origin_;
    const double variance = squares_ / volume_ - shift * shift;
    return variance > 0.0 ? std::sqrt(variance) / 3.0 : 0.0;
  }

 private:
  double weighted_ = 0.0;  // Σ (H + L + C)·V
  double squares_ = 0.0;   // Σ (H + L + C − origin)²·V
  double volume_ = 0.0;
  double origin_ = 0.0;  // the first H + L + C taken
};

}  // namespace qc::studies
