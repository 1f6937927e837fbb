// What the channel tools share: the translucent band between their two lines and the label rule.
#pragma once

#include <optional>
#include <string_view>

#include "primitives/catalog/common/labels.hpp"
#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

struct PixelPoint {
  double x, y;
};

// Fills the quadrilateral a, b, c, d (unsnapped) with the stroke colour at the given opacity.
void fill_band(RenderContext& ctx, std::string_view stroke, double opacity, PixelPoint a, PixelPoint b,
               PixelPoint c, PixelPoint d);

// The label of a channel whose reference line runs from a to b: rotated with the line (folded upright, the
// normal not), at the fraction t = 0, 0.5 or 1 by h_align of the point that `at(t, dx, dy)` gives, moved
// along the normal by half the font size plus 8 px by v_align (Start above a left-to-right line).
template <class PointAt>
std::optional<TextAnchor> channel_text_anchor(const PrimitiveData& data, PixelPoint a, PixelPoint b, PointAt at);

namespace detail {
struct ChannelLabelFrame {
  double t, dx, dy, nx, ny, offset, angle;
};
ChannelLabelFrame channel_label_frame(const PrimitiveText& text, PixelPoint a, PixelPoint b) noexcept;
}  // namespace detail

template <class PointAt>
std::optional<TextAnchor> channel_text_anchor(const PrimitiveData& data, PixelPoint a, PixelPoint b, PointAt at) {
  const PrimitiveText* text = label_text(data);
  if (text == nullptr) return std::nullopt;
  const detail::ChannelLabelFrame f = detail::channel_label_frame(*text, a, b);
  const PixelPoint p = at(f.t, f.dx, f.dy);
  return TextAnchor::with_rotation(data.color.stroke, p.x + f.offset * f.nx, p.y + f.offset * f.ny, f.angle);
}

}  // namespace qc::primitives::catalog
