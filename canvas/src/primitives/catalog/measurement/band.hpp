// What the three measurement tools share: the translucent band colour, the price-change caption and the
// caption's text state.
#pragma once

#include <string>
#include <string_view>

#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

// The band fill: the stroke colour at alpha 0x40 ("#2196F3" gives "#2196F340"). An eight-digit stroke
// keeps its colour and takes this alpha, and a "#rgb" stroke is widened first, so the band stays visible;
// any other text gets "40" appended and is left to the context's fallback when it does not parse.
std::string band_color(std::string_view stroke);

// price2 - price1 with the decimals of its prices' level (change_decimals), followed by " (pct%)" with
// two decimals when with_percent. A fall reads "-" and a rise unsigned, and a number that rounds to zero
// carries no sign.
std::string price_change_caption(double price1, double price2, bool with_percent);

// |bar2 - bar1| with no decimals, followed by " bars" when with_unit.
std::string bar_count_caption(double bar1, double bar2, bool with_unit);

// The percentage change (price2 - price1) / |price1| x 100 with two decimals and its "%", signed as the
// caption's difference; 0 when price1 is exactly 0.
void append_percent_change(std::string& out, double price1, double price2);

// The stroke colour and width of the record, always solid whatever its line style.
void set_solid_stroke(RenderContext& ctx, const PrimitiveData& data);

// A caption in the stroke colour at 12 px, drawn from its start on a backing that keeps it readable over
// the bars.
void draw_caption(RenderContext& ctx, const PrimitiveData& data, std::string_view text, double x, double y);

}  // namespace qc::primitives::catalog
