// Trade-signal markers (triangles and dots) with their labels, on the main pane.
#pragma once

#include <optional>
#include <span>

#include "api/config.hpp"
#include "api/layout.hpp"
#include "coords/price_mapping.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// Draws the signals of the layout's drawn bars in order, at their bars' x; a signal whose price is NaN has
// no place on the pane and is left out. A label that would reach past the plot is written to the left of
// its marker, on a backing of the chart's `background` colour (see render::text_backing). A glyph of the main
// series' `line` colour is outlined in the background's.
void draw_signals(render::SvgBackend& out, std::span<const SignalConfig> signals, const Layout& layout,
                  const coords::PriceMapping& y, render::Color background,
                  std::optional<render::Color> line = std::nullopt);

}  // namespace qc::api
