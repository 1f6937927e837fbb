// The main-series styles drawn from the bars as they are, beside candles, OHLC bars, lines and areas:
// hollow candles, columns, the baseline and high-low bars.
#pragma once

#include <optional>

#include "api/config.hpp"
#include "api/layout.hpp"
#include "coords/price_mapping.hpp"
#include "model/series/bar_columns.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// Whether draw_simple_style draws the series type.
bool is_simple_style(SeriesType type);

// The prices the main series adds to the main range: columns only their closes (as if high = low = close).
model::BarsView ranged_bars(SeriesType type, model::BarsView drawn);

// The baseline style's level: the one asked for, else the first finite close among the drawn bars; none for
// other styles, or without a finite close.
std::optional<double> baseline_level(const SeriesConfig& series, model::BarsView drawn);

// The main series of a simple style over `bars` (the full series), on the layout's drawn bars.
void draw_simple_style(render::SvgBackend& out, SeriesType type, const ThemeConfig& theme, model::BarsView bars,
                       std::optional<double> level, const Layout& layout, const coords::PriceMapping& price,
                       double dpr);

}  // namespace qc::api
