// Turns one chart (configuration and bars) into one SVG document.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "api/chart.hpp"
#include "api/config.hpp"
#include "api/crosshair.hpp"
#include "api/value_range.hpp"
#include "coords/price_scale.hpp"
#include "model/series/bar_columns.hpp"
#include "render/engine/svg_backend.hpp"
#include "util/text_buffer.hpp"

namespace qc::api {

// What a render wrote into the caller's storage.
struct DocumentInfo {
  std::size_t size = 0;
  bool ascii = true;  // false when a caller's text brought other bytes
};

// The bars boxes were made from, and each box's last one among them: empty for a chart of bars.
struct MarketBars {
  model::BarsView bars;
  std::span<const std::size_t> last_bar;
  bool atr = false;  // the box was asked for as the ATR box

  // The bar whose close box `box` ends at, or none.
  std::optional<model::Bar> at_box(std::size_t box) const {
    if (box >= last_bar.size() || last_bar[box] >= bars.size()) return std::nullopt;
    return bars[last_bar[box]];
  }
};

// Where a figure nests a chart's document: its cell's number, which prefixes the document's ids ("c0-"), and
// its corner in the figure.
struct Nesting {
  std::size_t index = 0;
  double x = 0, y = 0;
  std::string id_prefix() const;
};

// The XML declaration and the root element's start tag of a document width x height; a nested document's
// root alone, given x and y first.
void append_document_root(std::string& out, double width, double height, const Nesting* nesting = nullptr);

// Borrows the chart for one call and keeps nothing between calls.
class ChartRenderer {
 public:
  // With a pointer over the plot, the document ends with what the pointer draws (the crosshair there and the
  // hovered bar's values) in a group of its own; elsewhere the pointer changes nothing.
  ChartRenderer(const ChartConfig& config, model::BarsView bars, std::optional<Pointer> pointer = std::nullopt)
      : config_(config), bars_(bars), pointer_(pointer), view_(config.view) {}
  // A chart's drawn bars; a chart drawn as boxes also lends the bars they were made from, whose last close
  // is the market's price.
  explicit ChartRenderer(const Chart& chart, std::optional<Pointer> pointer = std::nullopt)
      : config_(chart.config),
        bars_(chart.bars),
        pointer_(pointer),
        market_{chart.source.bars, chart.source.last_bar, chart.source.atr},
        view_(chart.config.view) {}

  // Draws `view` in place of the chart's own (a figure lines charts up by time this way, the charts unchanged).
  ChartRenderer& with_view(std::optional<ViewRequest> view) {
    view_ = view;
    return *this;
  }
  // Writes the document as a figure nests it: no XML declaration, the root at the cell's corner, the ids and
  // their references prefixed with the cell's.
  ChartRenderer& nested(const Nesting& nesting) {
    nesting_ = nesting;
    id_prefix_ = nesting.id_prefix();
    return *this;
  }

  // The whole document; the "No data" document when there are no bars.
  std::string render_svg() const;
  // The same document written once into storage the caller lends (sized up front from the element
  // counts, or from 64 KiB when the storage refuses that much, and grown through the storage when that
  // falls short; std::bad_alloc only when growing is refused); the storage's first `size` bytes hold it.
  DocumentInfo render_into(util::TextStorage& storage) const;
  // The pointer's group alone, as render_svg() writes it before "</svg>"; empty without bars or for a pointer
  // off the plot.
  std::string render_pointer_layer() const;
  // The bar (an index into all bars) the document draws nearest x, none off the plot: the bar a pointer at
  // x hovers.
  std::optional<std::size_t> bar_under(double x) const;
  // The x of the centre of bar `bar` (an index into all bars), none for a bar the document does not draw.
  std::optional<double> bar_centre(std::size_t bar) const;

  static ValueRange calculate_indicator_range(model::BarsView bars, const model::Indicator& indicator) {
    return indicator_range(bars, indicator);
  }

  // A 70-pixel scale at x, from top to top + height, labelling [lo, hi]: in full on the main pane, with
  // units on a sub-pane of volume-sized values.
  static void render_price_scale(const ChartConfig& config, render::SvgBackend& backend, double x, double top,
                                 double height, double lo, double hi,
                                 coords::ScaleNumbers numbers = coords::ScaleNumbers::full);

 private:
  const ChartConfig& config_;
  model::BarsView bars_;
  std::optional<Pointer> pointer_;
  MarketBars market_;
  std::optional<ViewRequest> view_;
  std::optional<Nesting> nesting_;
  std::string id_prefix_;
};

}  // namespace qc::api
