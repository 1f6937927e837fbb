// The paint of the annotation icons: filled and outlined in the record's stroke colour at its width.
#pragma once

#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

inline void paint_icon(RenderContext& ctx, const PrimitiveData& data) {
  ctx.set_fill_color(data.color.stroke);
  ctx.set_stroke_color(data.color.stroke);
  ctx.set_stroke_width(data.width);
}

}  // namespace qc::primitives::catalog
