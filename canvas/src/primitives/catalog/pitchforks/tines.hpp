// The tines of the pitchfork tools: one line per visible level, parallel to the median.
#pragma once

#include <span>

#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

// A pitchfork in pixels: the median from the handle to its end, and the shift of one unit of ratio.
struct TineFrame {
  double handle_x, handle_y;
  double median_x, median_y;
  double unit_x, unit_y;
};

// What a level whose style names no dash of its own draws with.
enum class TineDashFallback : unsigned char { RecordStyle, Solid };

// For each visible level with ratio r, the median shifted by r units: either up to the shifted median end,
// or, with extend, on from the shifted handle for the extension reach (a point-sized tine then draws no
// line). Each level sets its own colour, width and dash, falling back to the record's; the dash is cleared
// at the end, also when no level is drawn.
void draw_tines(RenderContext& ctx, const PrimitiveData& data, std::span<const FibLevelConfig> levels,
                const TineFrame& frame, bool extend, TineDashFallback fallback);

}  // namespace qc::primitives::catalog
