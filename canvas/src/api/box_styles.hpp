// The main series of the box styles (renko, point and figure, line break, kagi), drawn from the chart's bars,
// which are the boxes when a box style is set.
#pragma once

#include <optional>

#include "api/config.hpp"
#include "api/layout.hpp"
#include "coords/price_mapping.hpp"
#include "model/series/bar_columns.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// Whether the series type is a box style.
bool is_box_style(SeriesType type);

// The box whose multiples the main price scale ticks at: point and figure's; none for other styles.
std::optional<double> scale_grid(const SeriesConfig& series);

// The main series of a box style over `boxes` (all of them), on the layout's drawn boxes.
void draw_box_style(render::SvgBackend& out, const SeriesConfig& series, const ThemeConfig& theme,
                    model::BarsView boxes, const Layout& layout, const coords::PriceMapping& price, double dpr);

}  // namespace qc::api
