// The drawing tools of one pane: each description made live through the registry and drawn once.
#pragma once

#include <span>

#include "api/config.hpp"
#include "primitives/core/svg_render_context.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// Draws, in stored order, the descriptions that lie on `pane`, each through a fresh drawing context with
// the pane's mapping; a description whose type id is not registered draws nothing. Holds the registry's
// read lock for the whole pane.
void draw_primitives(render::SvgBackend& out, std::span<const PrimitiveConfig> descriptions, PrimitivePane pane,
                     const primitives::PaneMapping& mapping, double dpr, double canvas_width, double canvas_height);

}  // namespace qc::api
