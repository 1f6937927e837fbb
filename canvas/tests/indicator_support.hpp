// Test support: an indicator drawn alone onto a small pane whose coordinates are easy to work out by hand.
#pragma once

#include <vector>

#include "api/indicator_painter.hpp"
#include "primitives/support.hpp"

namespace qc::api::testing {

// Four slots 25 px apart on a 170 px canvas (x = 12.5, 37.5, 62.5, 87.5), values 0..10 over 100 px
// (y = 100 − 10·v), baseline at the value 0 (y = 100); its cloud fills first, as a pane paints them; the
// chart's up and down colours are `chart`.
inline std::vector<primitives::testing::SvgElement> draw_alone(const model::Indicator& ind,
                                                                const palette::UpDown& chart = {}) {
  render::SvgBackend backend(170, 140, 1);
  const auto layout = api::Layout::make(170, 140, 4, 0);
  const coords::PriceMapping y{0, 10, 0, 100};
  api::draw_cloud_fills(backend, ind, y, layout);
  api::draw_indicator(backend, ind, y, y.y(0), layout, chart);
  return primitives::testing::as_shapes(primitives::testing::parse_body(backend.body()));
}

}  // namespace qc::api::testing
