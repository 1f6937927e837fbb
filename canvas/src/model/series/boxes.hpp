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

// How many boxes `bars` give under `s`. The count is exact even past `limit` (a refusal names it), and is
// taken in one pass over the bars without allocating per box: a box far too small for the prices is refused
// before anything is built. Saturates at SIZE_MAX.
std::size_t count_boxes(BarsView bars, const BoxSettings& s, std::size_t limit);

// The boxes; none when the settings are unusable (a size not finite or <= 0, a count of 0, a percent of 100
// or more), and none from bars whose closes never move far enough.
Boxes make_boxes(BarsView bars, const BoxSettings& s);

}  // namespace qc::model
