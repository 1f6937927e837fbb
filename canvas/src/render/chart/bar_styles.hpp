// The bar styles drawn from each bar's prices as they are: hollow candles, columns and high-low bars.
#pragma once

#include <cstddef>
#include <string_view>

#include "coords/price_mapping.hpp"
#include "model/series/bar_columns.hpp"
#include "render/chart/device_columns.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::render {

// The chart's two colours, and the direction a style draws a bar in by its close against the previous bar
// with a finite close; `close_before` is that of the bar before the first given (NaN when there is none).
// Without a previous close a bar goes by its own close against its open.
struct TrendColors {
  std::string_view up;
  std::string_view down;
  double close_before;
};

// The last finite close among bars [0, end), NaN when there is none.
double finite_close_before(model::BarsView bars, std::size_t end);

// Per bar with all four prices finite: a body from open to close, hollow (stroked 1 px inside its edges)
// when the close is at or above the open and filled otherwise, and a wick from the high down to the body
// and from the body down to the low, never through it; all in the trend's colour. Bars grouped by
// `columns` draw one candle of their aggregate in their column, coloured by its close against the close
// before the group.
void render_hollow_candles(SvgBackend& backend, model::BarsView bars, const TrendColors& colors, double spacing,
                           const coords::PriceMapping& price, double candle_width, double dpr,
                           const DeviceColumns& columns = {});

// Per bar with a finite close: a filled bar as wide as a candle body from the pane's bottom to the close, in
// the trend's colour; a group draws one column to its last close.
void render_columns(SvgBackend& backend, model::BarsView bars, const TrendColors& colors, double spacing,
                    const coords::PriceMapping& price, double candle_width, double dpr,
                    const DeviceColumns& columns = {});

// Per bar with all four prices finite: a filled bar as wide as a candle body from the low to the high, in the
// up colour when the bar closes at or above its open (as OHLC bars are); a group draws its aggregate's.
void render_high_low(SvgBackend& backend, model::BarsView bars, std::string_view up_color,
                     std::string_view down_color, double spacing, const coords::PriceMapping& price,
                     double candle_width, double dpr, const DeviceColumns& columns = {});

}  // namespace qc::render
