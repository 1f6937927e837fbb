// Point-and-figure glyphs and kagi lines: the box styles that are not drawn as candle bodies.
#pragma once

#include <cmath>
#include <cstddef>
#include <string_view>

#include "coords/price_mapping.hpp"
#include "model/series/bar_columns.hpp"
#include "render/chart/device_columns.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::render {

// Per column (box) with finite prices: one glyph centred on each multiple of `box` from its low to its high,
// an X (two crossing diagonals of a square) in the up colour for a rising column, else an O (a circle) in the
// down colour, both on the square of side min(box height, body width). A column rises when it closes above
// its open; a column of one box rises when it opens above the close before it (`close_before` for the first,
// NaN when there is none), and the first one alone when the next one does not. A column keeps at most one
// glyph per device row; columns sharing a device column draw their aggregate's there.
void render_point_and_figure(SvgBackend& backend, model::BarsView columns_of_boxes, double box,
                             std::string_view up_color, std::string_view down_color, double spacing,
                             const coords::PriceMapping& price, double candle_width, double dpr,
                             const DeviceColumns& columns = {}, double close_before = NAN);

// Kagi runs [begin, end) of `runs` (all of them: the look of a run depends on those before it), run k a
// vertical line from its open to its close at slot k − origin's centre, joined to the next run by a
// horizontal line at the turning price. The line starts 1 px in the up colour, turns 2 px in the up colour
// where it rises above the previous shoulder (the end of the up run before) and 1 px in the down colour where
// it falls below the previous waist (the end of the down run before), and keeps its look otherwise; a
// vertical changes look at the crossing price, a horizontal takes the look at its turn. Runs sharing a device
// column (`columns`, indices as `runs`') draw one vertical per look there.
void render_kagi(SvgBackend& backend, model::BarsView runs, std::size_t begin, std::size_t end, std::size_t origin,
                 std::string_view up_color, std::string_view down_color, double spacing,
                 const coords::PriceMapping& price, double dpr, const DeviceColumns& columns = {});

}  // namespace qc::render
