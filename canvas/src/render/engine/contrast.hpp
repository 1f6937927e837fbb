// Legibility of text on a coloured tag: relative luminance and contrast ratio as WCAG 2 defines them, and
// the choice between light and dark text that every tag writer makes the same way.
#pragma once

#include "render/engine/types.hpp"

namespace qc::render {

// `top` painted at its alpha over `bottom`, whose alpha is taken as opaque: the colour the eye sees.
Color composite_over(Color top, Color bottom);

// WCAG 2 relative luminance of the colour's red, green and blue (alpha ignored), 0 for black to 1 for white.
double relative_luminance(Color c);

// (L1 + 0.05) / (L2 + 0.05), the lighter of the two colours' luminances over the darker: 1 to 21.
double contrast_ratio(Color a, Color b);

inline constexpr Color kTagTextLight = kOpaqueWhite;
inline constexpr Color kTagTextDark{0x13, 0x17, 0x22, 255};  // #131722

// The text colour of a tag filled with `fill` on a chart whose background is `background`: white, unless
// white on the fill as the eye sees it (over the background) reads worse than 2.5:1.
Color tag_text_color(Color fill, Color background);

}  // namespace qc::render
