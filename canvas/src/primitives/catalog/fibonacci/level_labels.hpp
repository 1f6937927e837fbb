// The labels the retracement and the extension write on their levels: the ratio and the level's price.
#pragma once

#include <string>
#include <string_view>

#include "primitives/core/render.hpp"

namespace qc::primitives::catalog::fibonacci {

// Which parts a level's label shows.
struct LevelLabelParts {
  bool ratio, price;
};

// Replaces out with the label of the level at `ratio` and `price`: the ratio in its shortest form ("0.618")
// when parts.ratio, then the price with 2 decimals in parentheses when parts.price ("0.618 (2843.10)",
// "(2843.10)" alone). Empty when neither part is shown.
void write_level_label(std::string& out, double ratio, double price, LevelLabelParts parts);

// Draws a label at 10 px in `color`, from 4 px right of the level's left end (or ending 4 px inside the plot),
// its middle 8 px above the level on the central baseline, over the chart's text backing.
void draw_level_label(RenderContext& ctx, std::string_view text, std::string_view color, double left, double level_y);

}  // namespace qc::primitives::catalog::fibonacci
