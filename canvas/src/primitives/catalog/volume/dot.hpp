// The anchor dot the volume tools draw: a filled 4 x dpr circle in the stroke colour.
#pragma once

#include <numbers>
#include <string_view>

#include "primitives/core/render.hpp"

namespace qc::primitives::catalog {

inline void fill_dot(RenderContext& ctx, std::string_view color, double x, double y, double dpr) {
  ctx.set_fill_color(color);
  ctx.begin_path();
  ctx.arc(x, y, 4.0 * dpr, 0.0, 2.0 * std::numbers::pi);
  ctx.fill();
}

}  // namespace qc::primitives::catalog
