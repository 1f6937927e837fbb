// The backing that keeps a text written over candles and lines readable.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/engine/types.hpp"

namespace qc::render {

// Such a backing is the chart's background colour at this alpha.
inline constexpr std::uint8_t kTextBackingAlpha = 0xCC;

// The backing of a text of `bytes` bytes written at (x, y) in `style` with its middle at y (the central
// baseline the chart's texts use): its estimated width with 2 px before and after it, one font size tall with
// 2 px above and below, centred on the text as it is aligned.
Rect text_backing(std::size_t bytes, const TextStyle& style, double x, double y);

}  // namespace qc::render
