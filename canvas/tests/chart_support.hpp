// Test support for whole charts: render a chart and read back the elements of its body.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "api/chart.hpp"
#include "api/chart_renderer.hpp"
#include "primitives/support.hpp"

namespace qc::testing {

// The elements between the document's head (its defs) and its closing tag, as written.
inline std::vector<primitives::testing::SvgElement> elements_of(const api::Chart& c) {
  const std::string doc = api::ChartRenderer(c.config, c.bars).render_svg();
  const std::size_t from = doc.find("</defs>\n") + 8;
  return primitives::testing::parse_body(std::string_view(doc).substr(from, doc.rfind("</svg>") - from));
}

// The same with each batched shape as its own element.
inline std::vector<primitives::testing::SvgElement> body_of(const api::Chart& c) {
  return primitives::testing::as_shapes(elements_of(c));
}

}  // namespace qc::testing
