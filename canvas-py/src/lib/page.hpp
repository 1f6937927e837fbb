// The chart as one self-contained HTML page, and the object a notebook shows it through.
#pragma once

#include <string>

#include "api/chart.hpp"
#include "class.hpp"

namespace qcpy {

// The page of `chart`: its JSON, the WebAssembly core and the page's script in one HTML text. Raises
// RuntimeError (PyErrorPending) when the module was built without the core.
std::string page_html(const qc::api::Chart& chart);

// What Chart.interactive() returns: the page in a frame, shown by notebooks through _repr_html_.
struct InteractiveChartClass {
  using Value = std::string;  // the frame's HTML
  static constexpr const char* name = "InteractiveChart";
  static constexpr const char* doc =
      "A chart's HTML page as a notebook shows it (Chart.interactive()): zoom with the wheel, pan by dragging, "
      "hover a bar to read its values.";
  static ClassSpec spec();
};

}  // namespace qcpy
