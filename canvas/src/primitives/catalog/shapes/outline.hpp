// Filled-and-outlined polygons of the shape tools: the fill at the exact pixels, the outline snapped.
#pragma once

#include <span>

#include "primitives/catalog/common/pixel_path.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

struct ShapeFill {
  bool enabled;
  double opacity;
};

// Fills the closed polygon (when fill is enabled) in the stroke colour at the fill's opacity, then strokes
// its snapped outline in the record's stroke state, closed or open, and leaves no dash behind.
void fill_and_outline(RenderContext& ctx, const PrimitiveData& data, std::span<const PixelPoint> points,
                      ShapeFill fill, bool closed);

}  // namespace qc::primitives::catalog
