// Fills between a cloud line and its partner line, coloured by which of the two lies above.
#pragma once

#include <span>

#include "api/layout.hpp"
#include "coords/price_mapping.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

struct CloudColors {
  render::Color partner_at_or_above;  // where partner − cloud ≥ 0
  render::Color partner_below;
};

// The area between `cloud` and `partner` over the drawn bars and their neighbours, value k at the layout's
// x of bar k. The bars split into maximal
// runs where both values are finite and partner − cloud keeps its sign class (≥ 0 or < 0); where the class
// changes between two bars, the lines' crossing point ends the one run and starts the next. Each run is one
// closed, unstroked path: the partner left to right, the cloud right to left. A run enclosing no area (a lone
// bar between gaps: two points) is not written. Where the layout groups bars by device column, the runs pass
// only the bars either line keeps there (each group's first, last, lowest and highest of each line).
void fill_cloud(render::SvgBackend& out, std::span<const double> cloud, std::span<const double> partner,
                const CloudColors& colors, const coords::PriceMapping& y, const Layout& layout);

// The same fill between `values` (the partner) and one level (the cloud).
void fill_to_level(render::SvgBackend& out, double level, std::span<const double> values, const CloudColors& colors,
                   const coords::PriceMapping& y, const Layout& layout);
// The line through `values` as the fill's runs split it at the level: each run's piece, crossing points
// included, stroked in the run's colour; a lone point draws nothing.
void stroke_split_at_level(render::SvgBackend& out, double level, std::span<const double> values,
                           const CloudColors& colors, const render::StrokeStyle& stroke,
                           const coords::PriceMapping& y, const Layout& layout);

}  // namespace qc::api
