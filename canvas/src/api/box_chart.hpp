// A chart drawn as boxes: settling a box style's settings on the user's bars, switching between bars and
// boxes, and placing a column of one value per bar on the boxes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "api/chart.hpp"

namespace qc::api {

// More boxes than this refuse a box style: a box that small for the prices draws nothing readable.
inline constexpr std::size_t kMostBoxes = 1'000'000;
// The bars an ATR box needs: the Wilder ATR(14) has its first value at the 15th.
inline constexpr std::size_t kAtrBoxBars = 15;

// Whether the chart holds anything placed on its bars: a study, a series of the user's, a fill, a level, a
// signal or marker, a tool or a view. A change between bars and boxes would leave it on the wrong slots.
bool has_placed_items(const ChartConfig& config);

// Why a change between bars and boxes is refused on a chart with placed items, naming the style called:
// "call renko() before studies, series, signals, markers, tools and views".
std::string order_error(SeriesType called);

// A box style as called: its settings, the box (or kagi's reversal) still to be settled as the ATR box when
// `atr`.
struct BoxRequest {
  model::BoxSettings settings;
  bool atr = false;
};

enum class BoxFault : std::uint8_t {
  none,
  too_few_bars,  // an ATR box asked of fewer than kAtrBoxBars bars
  no_atr,        // the ATR at the last bar is not a finite number above 0
  below_resolution,  // the box (kagi: the reversal) is below the closes' resolution (model::below_resolution)
  too_many,      // the box gives more than kMostBoxes boxes
};

// The settings a request settles to on `bars`, or the fault that refuses it.
struct SettledBoxes {
  model::BoxSettings settings;
  BoxFault fault = BoxFault::none;
  std::size_t count = 0;  // with too_many: the boxes the bars give; SIZE_MAX for more than any count
};
// Checked in this order: the ATR box settled, the box against the closes' resolution, then the boxes counted
// (every style, each its own way) without making one.
SettledBoxes settle_boxes(model::BarsView bars, const BoxRequest& request);

// Why `bars` bars settled to `settled` (a fault) refuse the style, naming the argument its amount was given
// in, with that amount, an ATR box's (`atr`) as the number it came to: "argument 'box': 0.001 is below the
// prices' resolution".
std::string box_refusal(const SettledBoxes& settled, bool atr, std::size_t bars);

// The chart drawn as the boxes its user bars give under `settings` (settled); `atr` is kept, so that new
// bars settle the box again.
Chart draw_boxes(Chart&& chart, const model::BoxSettings& settings, bool atr);

// The chart drawn in a style of the bars as they are, given its bars back when it drew boxes.
Chart draw_bars(Chart&& chart, SeriesConfig series);

// The chart with new user bars; on a chart drawn as boxes, its boxes made again under `settings` (settled on
// the new bars).
Chart replace_bars(Chart&& chart, model::BarColumns bars, const model::BoxSettings& settings);

// A column of one value per bar placed on the boxes: each box takes its last bar's value.
template <class T, class Out = std::vector<T>>
Out on_boxes(std::span<const T> per_bar, std::span<const std::size_t> last_bar) {
  Out out;
  out.reserve(last_bar.size());
  for (const std::size_t bar : last_bar) out.push_back(bar < per_bar.size() ? per_bar[bar] : T{});
  return out;
}

}  // namespace qc::api
