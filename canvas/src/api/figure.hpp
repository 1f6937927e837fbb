// Several charts in one document: where each chart's cell lies, and the document that nests theirs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "api/chart.hpp"
#include "api/chart_renderer.hpp"
#include "api/view.hpp"
#include "util/text_buffer.hpp"

namespace qc::api {

// The title's band above the cells.
inline constexpr double kFigureTitleBand = 28.0;
inline constexpr double kMaxFigureGap = 200.0;

struct FigureSettings {
  std::uint32_t cols = 1;  // at least 1
  double gap = 8.0;        // 0 to kMaxFigureGap pixels between cells
  std::string_view title;  // no band when empty
  bool share_time = false;
};

struct CellBox {
  double x = 0, y = 0, width = 0, height = 0;
};

// Cells left to right in rows of `cols`, each of its chart's size at its cell's top-left: a row as tall as
// its tallest chart, a column as wide as its widest.
struct FigureLayout {
  double width = 0, height = 0;
  std::vector<CellBox> cells;
};
FigureLayout layout_figure(std::span<const Chart* const> charts, const FigureSettings& settings);

// What `other` draws in a figure that shares time with `first`: the bars whose times fall in the first's view
// (`view`), all of them when the first has none; `any` false when none of its bars falls there.
struct SharedView {
  bool any = true;
  std::optional<ViewRequest> view;
};
SharedView shared_view(const Chart& first, const Chart& other);

// The bar (an index into `times`) holding instant t: the last at or before it, whose span reaches to the next
// bar's time (the last bar's as long as the span before it, a lone bar's the instant alone); none before the
// first bar or past the last one's span.
std::optional<std::size_t> bar_holding(std::span<const std::int64_t> times, std::int64_t t);

// A renderer of `charts[i]` as the figure draws it.
ChartRenderer figure_renderer(std::span<const Chart* const> charts, std::size_t i, bool share_time);

// The figure's document up to its cells: the XML declaration, the root, the first chart's background around
// the cells and the title's band.
std::string figure_frame(const FigureLayout& layout, const ChartConfig& first, std::string_view title);

// The figure's document written once into `storage`: the first chart's background around the cells, the
// title's band, then each chart's document nested at its cell (ChartRenderer::nested), written in place.
DocumentInfo render_figure_into(util::TextStorage& storage, std::span<const Chart* const> charts,
                                const FigureSettings& settings);
std::string render_figure(std::span<const Chart* const> charts, const FigureSettings& settings);

}  // namespace qc::api
