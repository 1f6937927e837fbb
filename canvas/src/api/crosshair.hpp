// The pointer over a rendered chart: the bar under it, the texts it reads there, and the crosshair with its
// tags on the price scale and the time axis.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "api/layout.hpp"
#include "coords/price_format.hpp"
#include "coords/price_mapping.hpp"
#include "model/series/bar_columns.hpp"
#include "model/series/data.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// A place on the document, in its pixels from the top-left corner.
struct Pointer {
  double x = 0.0;
  double y = 0.0;
};

// The drawn bar whose centre lies nearest x, as an index into the full series; none when x is off the plot
// (left of it, on the price scale, not a number) or nothing is drawn. Bars sharing a pixel column are told
// apart by x itself, not by the column.
std::optional<std::size_t> bar_under(const Layout& layout, double x);

// Whether the pointer is over the panes (the gaps between them included), not the scales or the axis.
bool over_plot(const Layout& layout, const Pointer& p);

// The value a pane places at height y: its mapping turned back.
double value_at(const coords::PriceMapping& pane, double y);

// Whether the median interval between neighbouring bars is under a day; false with fewer than two bars.
bool intraday_bars(model::BarsView bars);

// "O 2875.10 H 2901.27 L 2869.70 C 2874.56": the bar's prices with `decimals` decimals, or as the pane's
// `format` writes them.
void append_ohlc(std::string& out, const model::Bar& bar, int decimals, const coords::PriceFormat* format = nullptr);

// The crosshair's place and the texts of its tags.
struct CrosshairMarks {
  double x = 0.0;  // the hovered bar's centre
  double y = 0.0;  // the pointer's height
  std::string_view value;  // as the scale of the pane under the pointer writes it
  std::string_view time;   // the hovered bar's
};

// The dashed lines across the plot, the value's tag over the price scale and the time's over the axis,
// lines and tags in `ink`, the tags' texts light or dark as reads best on `ink` over `background`.
void draw_crosshair(render::SvgBackend& out, const Layout& layout, const CrosshairMarks& marks, render::Color ink,
                    render::Color background);

}  // namespace qc::api
