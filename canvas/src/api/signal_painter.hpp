// Trade-signal markers (triangles and dots) with their labels, on the main pane.
#pragma once

#include <span>

#include "api/config.hpp"
#include "coords/price_mapping.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// Draws the signals in order; a signal whose price is NaN has no place on the pane and is left out. A
// label that would reach past plot_width is written to the left of its marker.
void draw_signals(render::SvgBackend& out, std::span<const SignalConfig> signals, double spacing,
                  double plot_width, const coords::PriceMapping& y);

}  // namespace qc::api
