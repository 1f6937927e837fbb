// The chart as one self-contained HTML page, and the object a notebook shows it through.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "api/chart.hpp"
#include "api/figure.hpp"
#include "class.hpp"

namespace qcpy {

// The page of `chart`: its JSON, the WebAssembly core and the page's script in one HTML text. Raises
// RuntimeError (PyErrorPending) when the module was built without the core.
std::string page_html(const qc::api::Chart& chart);

// The page of a figure of `charts`: each chart's JSON, the figure's frame and cells.
std::string figure_page_html(std::span<const qc::api::Chart* const> charts, const qc::api::FigureSettings& settings);

// What interactive() returns: `page` in a frame of width x height and, beside it, the PNG png_of() gives
// (warning when the page's JSON, `json_bytes`, grows heavy for a notebook).
PyObject* interactive_page(std::string page, std::size_t json_bytes, double width, double height,
                           const std::function<std::optional<std::string>()>& png_of);

// The chart's PNG at its own size, as notebooks show it beside its document; none when no PNG can be had
// (too large, or built without cairo). Raises on a failure of cairo or of memory.
std::optional<std::string> display_png(const qc::api::Chart& chart);

// The page in a frame, and the picture a notebook keeps where the frame cannot run.
struct InteractivePage {
  std::string frame;               // the frame's HTML
  std::optional<std::string> png;  // the chart's PNG in base64; none when display_png() gives none
};

// What Chart.interactive() returns: the page in a frame, shown by notebooks through _repr_mimebundle_ (the
// frame and the PNG) or _repr_html_.
struct InteractiveChartClass {
  using Value = InteractivePage;
  static constexpr const char* name = "InteractiveChart";
  static constexpr const char* doc =
      "A chart's HTML page as a notebook shows it (Chart.interactive()): zoom with the wheel, pan by dragging, "
      "hover a bar to read its values.";
  static ClassSpec spec();
};

}  // namespace qcpy
