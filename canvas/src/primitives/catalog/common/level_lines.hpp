// Level-line drawing shared by the level-based tools (Fibonacci, pitchfork and Gann families).
#pragma once

#include <span>

#include "primitives/core/config.hpp"
#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

// A level's own stroke: its colour and width where it has them, else the record's; the dash of its style
// name, or `plain_dash` for a style without one ("solid" and any unknown name).
void set_level_stroke(RenderContext& ctx, const FibLevelConfig& level, const PrimitiveData& data,
                      std::span<const double> plain_dash);

// Continues the current path from (sx, sy) in the direction of (tx, ty) for `length` pixels, snapped with
// `dpr`. Issues nothing when the direction has no length (or is not a number): there is no way to go.
void line_to_beyond(RenderContext& ctx, double dpr, double sx, double sy, double tx, double ty, double length);

}  // namespace qc::primitives::catalog
