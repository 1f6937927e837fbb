// Test support for whole charts: render a chart and read back the elements of its body.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "api/chart.hpp"
#include "api/chart_renderer.hpp"
#include "primitives/support.hpp"

namespace qc::testing {

// The elements between the document's head (its defs) and its closing tag, each batched shape as its own.
inline std::vector<primitives::testing::SvgElement> body_of(const api::Chart& c) {
  const std::string doc = api::ChartRenderer(c.config, c.bars).render_svg();
  const std::size_t from = doc.find("</defs>\n") + 8;
  return primitives::testing::as_shapes(
      primitives::testing::parse_body(std::string_view(doc).substr(from, doc.rfind("</svg>") - from)));
}

}  // namespace qc::testing
