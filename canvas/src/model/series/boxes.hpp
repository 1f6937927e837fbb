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

// How many boxes `bars` give under `s` (point and figure: columns), so that a box too small for the prices is
// refused before anything is allocated. The count is exact however large, since a refusal quotes it, and
// costs one pass over the bars whatever it comes to (a bar adding many renko boxes adds them as a number).
// A grid so fine against the prices that the doubles cannot tell its lines apart counts as SIZE_MAX.
std::size_t count_boxes(BarsView bars, const BoxSettings& s);

// The boxes; none when the settings are unusable (a size not finite or <= 0, a count of 0, a percent of 100
// or more), when the grid is too fine (above), and from bars whose closes never move far enough. Callers
// check count_boxes() against their limit first: the boxes are built as many as they are.
Boxes make_boxes(BarsView bars, const BoxSettings& s);

}  // namespace qc::model
