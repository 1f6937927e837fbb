// The chart's title and the legend of its studies, written over everything else at the panes' top-left.
#pragma once

#include <cstddef>
#include <string_view>

#include "model/indicators.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// The title over the main pane's top-left corner, in the colour of the axis labels.
void draw_title(render::SvgBackend& out, std::string_view title, render::Color color);

// Where the legend's lines stand: the main pane's line k under the title when there is one, and a
// sub-pane's one line just inside the top of its frame.
double main_legend_y(bool titled, std::size_t k);
double sub_pane_legend_y(double pane_top);

// The decimals of the values quoted on a pane whose scale labels [lo, hi] over `height` pixels: as many as
// its labels carry, and at least 2.
int legend_decimals(double lo, double hi, double height);

// One legend line at height y: the indicator's name in `name_color`, then the last value of each vector that
// draws, in the colour that value is drawn in made opaque, each text after the previous one's reckoned
// width. A vector's last value is its value at the last of `bars` bars when finite, else its last finite
// value before that; a vector without one is left out.
void draw_legend_line(render::SvgBackend& out, const model::Indicator& indicator, double y, int decimals,
                      render::Color name_color, std::size_t bars);

}  // namespace qc::api
