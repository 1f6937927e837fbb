// A label along a pixel line, set in from its ends: the rule of the tools whose line starts at a handle
// or origin (pitchfork median, Gann fan 1x1 line).
#pragma once

#include <optional>

#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

// h_align places the label at 20 %, 50 % or 80 % of the way from (x0, y0) to (x1, y1); v_align moves it
// across the line by half the font size plus 5 px (Start above a left-to-right line); the rotation follows
// the line and never reads upside down. A line shorter than 0.001 px gives an unrotated label at its start.
std::optional<TextAnchor> inset_line_text_anchor(const PrimitiveData& data, double x0, double y0, double x1,
                                                 double y1);

}  // namespace qc::primitives::catalog
