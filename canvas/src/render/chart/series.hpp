// The main-series renderers: candlesticks, lines and areas, recorded into a render batch or written at once.
#pragma once

#include <span>
#include <string_view>

#include "coords/price_mapping.hpp"
#include "model/series/bar_columns.hpp"
#include "model/series/options.hpp"
#include "render/chart/device_columns.hpp"
#include "render/engine/batch.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::render {

// Records wick, body and (when one applies) border of each candle whose prices are all numbers,
// snapped to the device-pixel grid of ratio dpr. Candle i is centred at (first_slot + i + 0.5) * spacing,
// so that a long series can be recorded and replayed in slices.
void render_candlesticks(RenderBatch& batch, std::span<const model::CandlestickData> candles,
                         const model::CandlestickStyleOptions& style, double spacing,
                         const coords::PriceMapping& price, double candle_width, double dpr,
                         std::size_t first_slot = 0);
// The same elements for bars (which carry no colours of their own), written straight into the backend in
// the order a replay of the recording would write them. Bars grouped by `columns` draw one candle per group:
// the first open, highest high, lowest low and last close of its bars with all four prices, its body one
// device pixel filling the group's column (a group without such bars draws nothing).
void render_candlesticks(SvgBackend& backend, model::BarsView bars,
                         const model::CandlestickStyleOptions& style, double spacing,
                         const coords::PriceMapping& price, double candle_width, double dpr,
                         const DeviceColumns& columns = {});

// One OHLC bar per bar whose prices are all finite, in the up colour when it closes at or above its open:
// the high-low stroke through the bar's centre, the open's tick to its left and the close's to its right,
// hairlines on the device-pixel grid the candles snap to, the ticks reaching the candle body's edges. Bars
// grouped by `columns` draw one bar of their aggregate, as candles do, its ticks reaching the column's edges.
void render_ohlc_bars(SvgBackend& backend, model::BarsView bars, std::string_view up_color,
                      std::string_view down_color, double spacing, const coords::PriceMapping& price,
                      double candle_width, double dpr, const DeviceColumns& columns = {});

// Records, for each run of two or more consecutive finite values, one stroked path through them, then its
// point markers if enabled; a lone value between gaps draws nothing.
void render_line(RenderBatch& batch, std::span<const model::LineData> points,
                 const model::LineStyleOptions& options, double spacing, const coords::PriceMapping& price);
// The same elements for the bars' closes, written straight into the backend; bar `origin` takes the first
// slot (a view's bar before its first lies left of the plot, so that its line reaches the left edge). Bars
// grouped by `columns` keep, within each run, their first, lowest, highest and last close.
void render_line(SvgBackend& backend, model::BarsView bars, const model::LineStyleOptions& options,
                 double spacing, const coords::PriceMapping& price, std::size_t origin = 0,
                 const DeviceColumns& columns = {});

// The same line over a fill down to the pane's foot, run after run: each run's straight polygon, filled with
// a vertical gradient of the line colour of its own, then the run's line.
void render_area(RenderBatch& batch, std::span<const model::LineData> points,
                 const model::LineStyleOptions& options, double spacing, const coords::PriceMapping& price);
// The same elements for the bars' closes, written straight into the backend, bar `origin` in the first slot;
// the fill follows the line `columns` reduces.
void render_area(SvgBackend& backend, model::BarsView bars, const model::LineStyleOptions& options,
                 double spacing, const coords::PriceMapping& price, std::size_t origin = 0,
                 const DeviceColumns& columns = {});

// Whether bars [a, b), as one candle of their first open, highest high, lowest low and last close (of the
// bars with all four prices), close at or above its open; false when no bar has all four.
bool closes_up(model::BarsView bars, std::size_t a, std::size_t b);

}  // namespace qc::render
