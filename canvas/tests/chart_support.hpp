// Test support for whole charts: render a chart and read back the elements of its body.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "api/chart.hpp"
#include "api/chart_renderer.hpp"
#include "primitives/support.hpp"

namespace qc::testing {

// The document's lines between its head (its defs) and its closing tag, the panes' clip groups entered.
inline std::string drawn_lines(const std::string& doc) {
  std::string out;
  std::size_t at = doc.find("</defs>\n") + 8;
  const std::size_t end = doc.rfind("</svg>");
  while (at < end) {
    const std::size_t nl = doc.find('\n', at);
    const std::size_t next = nl == std::string::npos ? end : nl + 1;
    const std::string_view line = std::string_view(doc).substr(at, next - at);
    if (!line.starts_with("<g clip-path=") && line != "</g>\n") out += line;
    at = next;
  }
  return out;
}

// The elements drawn, as written.
inline std::vector<primitives::testing::SvgElement> elements_of(const api::Chart& c) {
  return primitives::testing::parse_body(drawn_lines(api::ChartRenderer(c).render_svg()));
}

// The same with each batched shape as its own element.
inline std::vector<primitives::testing::SvgElement> body_of(const api::Chart& c) {
  return primitives::testing::as_shapes(elements_of(c));
}

}  // namespace qc::testing
