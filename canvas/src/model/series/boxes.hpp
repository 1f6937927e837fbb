// The derived bars of the box styles (renko, point and figure, line break, kagi), built from the closes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/series/bar_columns.hpp"

namespace qc::model {

enum class BoxKind : std::uint8_t { renko, point_and_figure, line_break, kagi };

// A box style's settled settings: `size` is the renko / point-and-figure box, or the kagi reversal (an amount
// of price, or a percent when `percent`); `count` is the point-and-figure reversal or the line-break lines.
struct BoxSettings {
  BoxKind kind = BoxKind::renko;
  double size = 0;
  std::uint32_t count = 0;
  bool percent = false;
  bool operator==(const BoxSettings&) const = default;
};

// One derived bar per box (time: its last bar's; open, high, low, close; volume split as the rule says) and the
// index of each box's last bar in the source bars (ascending).
struct Boxes {
  BarColumns bars;
  std::vector<std::size_t> last_bar;
};

// The Wilder ATR(14) of the bars at the last bar, rounded to 4 significant digits; nullopt with fewer than 15 bars
// or a non-finite / non-positive result.
std::optional<double> atr_box(BarsView bars);

// Whether the settings can make boxes at all: a size finite and above 0 (renko, point and figure, kagi), a
// count of 1 or more (point and figure, line break), a percent below 100 (kagi).
bool usable(const BoxSettings& s);

// Whether the box (kagi: the reversal) is below the closes' resolution: the largest finite |close| is more
// than 2^52 boxes, so that neighbouring grid prices near it are no longer apart as doubles (a percent
// reversal: 100 / percent above 2^52). Never for line break, which has no box, nor for unusable settings.
bool below_resolution(BarsView bars, const BoxSettings& s);

// How many boxes `bars` give under `s` (point and figure: columns), so that a box too small for the prices is
// refused before anything is allocated. The count is exact however large, since a refusal quotes it, and
// costs one pass over the bars whatever it comes to (a bar adding many renko boxes adds them as a number).
// A grid whose indices leave the exact integers of a double (only a box at the resolution's edge, once
// below_resolution() refuses finer ones) counts as SIZE_MAX: more than any limit.
std::size_t count_boxes(BarsView bars, const BoxSettings& s);

// The boxes; none when the settings are unusable, when the grid is too fine (above), and from bars whose
// closes never move far enough. Callers check below_resolution() and then count_boxes() against their limit
// first: the boxes are built as many as they are.
Boxes make_boxes(BarsView bars, const BoxSettings& s);

}  // namespace qc::model
