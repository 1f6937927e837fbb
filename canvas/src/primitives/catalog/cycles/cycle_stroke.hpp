// Stroke set-up of the cycle tools, whose dotted and dashed patterns are finer than the common ones.
#pragma once

#include <span>

#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

// Dash of a line style for the cycle tools: dotted [2, 3] and dashed [5, 5]; the others as usual.
std::span<const double> cycle_dash(LineStyle style) noexcept;

// Stroke colour, width and the cycle dash of the record. The dash is left set: the cycle tools do not
// clear it after drawing.
void set_cycle_stroke(RenderContext& ctx, const PrimitiveData& data);

}  // namespace qc::primitives::catalog
