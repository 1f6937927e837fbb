// The logarithmic price scale: its mapping from the prices' ends, and its ticks at round prices.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "coords/price_format.hpp"
#include "coords/price_mapping.hpp"

namespace qc::coords {

// The log mapping of a pane top..top + height for prices spanning [lo, hi] (before any padding): the
// logarithms padded by 5 % of ln hi - ln lo on both sides, min and max their exponentials (held finite).
// None when the prices give no log scale: lo <= 0, hi <= lo, or logarithms that do not differ.
std::optional<PriceMapping> log_price_mapping(double lo, double hi, double top, double height);

// A tick is dropped when it comes closer than this below the last one kept, going down the scale.
inline constexpr double kLogTickGap = 20.0;
// A gap between two ticks kept of more than this is filled with the linear scale's ticks.
inline constexpr double kLogFillGap = 120.0;

// Ticks that each write their label with their own decimals, top to bottom.
struct LabelledTicks {
  std::vector<double> values;
  std::vector<int> decimals;

  std::span<const double> ticks() const { return values; }
  // Tick i's label, as the pane's format writes it when it has one.
  void append_label(std::string& out, std::size_t i, const PriceFormat* format = nullptr) const;
  // The most decimals among the labels; 0 without ticks.
  int most_decimals() const;
  // The largest |tick|; 0 without ticks.
  double largest_magnitude() const;
};

// The log scale's ticks: the round prices m x 10^k inside [log_min, log_max) with m in 1, 2, 5; with m in
// 1 ... 9 when those are fewer than 4; when still fewer, the linear scale's ticks over [min, max]. Each
// labelled with max(0, -k) decimals (the linear ticks as the linear scale labels them); going down, a tick
// less than kLogTickGap pixels below the last one kept is dropped. Then each gap of more than kLogFillGap
// pixels between two ticks kept takes the linear scale's ticks for its prices and height, strictly between
// the two and at least kLogTickGap pixels from them and from each other; no tick kept is dropped.
LabelledTicks log_price_ticks(const PriceMapping& pane);

}  // namespace qc::coords
