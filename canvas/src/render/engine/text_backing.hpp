// The backing that keeps a text written over candles and lines readable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "render/engine/types.hpp"

namespace qc::render {

// Such a backing is the chart's background colour at this alpha.
inline constexpr std::uint8_t kTextBackingAlpha = 0xCC;

// The backing of a text `width` px wide in a font of `font_size` written at (x, y) as `align` places it, with
// its middle at y (the central baseline the chart's texts use): 2 px before and after it, one font size tall
// with 2 px above and below.
Rect text_backing(double width, double font_size, TextAlign align, double x, double y);
// The same for `text` in `style`, at its estimated width.
Rect text_backing(std::string_view text, const TextStyle& style, double x, double y);

}  // namespace qc::render
