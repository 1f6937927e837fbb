// The anchor points a stored primitive description is created from in the pane it is drawn in.
#pragma once

#include <array>
#include <span>

#include "api/config.hpp"
#include "coords/price_mapping.hpp"

namespace qc::api {

// The points handed to the registry for a description drawn through the mapping y: its stored points,
// except that a callout given only the point it explains, (bar, price), gets its box at
// (bar + 5, price ± a tenth of y's range), below the point in the upper half of the range and above it
// otherwise. The factory's own default, ten price units up, fits no pane in particular: off the canvas on
// a $60 stock, millions of panes away on a penny stock. `scratch` holds the completed pair.
std::span<const Point> creation_points(const PrimitiveConfig& description, const coords::PriceMapping& y,
                                       std::array<Point, 2>& scratch);

}  // namespace qc::api
