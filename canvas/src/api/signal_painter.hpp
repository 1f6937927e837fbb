// Trade-signal markers (triangles and dots) with their labels, on the main pane.
#pragma once

#include <span>

#include "api/config.hpp"
#include "coords/price_mapping.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// Draws the signals in order; a signal whose price is NaN has no place on the pane and is left out.
void draw_signals(render::SvgBackend& out, std::span<const SignalConfig> signals, double spacing,
                  const coords::PriceMapping& y);

}  // namespace qc::api
