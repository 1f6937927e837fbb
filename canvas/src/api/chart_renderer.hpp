// Turns one chart (configuration and bars) into one SVG document.
#pragma once

#include <span>
#include <string>

#include "api/config.hpp"
#include "api/svg_document.hpp"
#include "api/value_range.hpp"
#include "model/series/data.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// Borrows the chart for one call and keeps nothing between calls.
class ChartRenderer {
 public:
  ChartRenderer(const ChartConfig& config, std::span<const model::Bar> bars) : config_(config), bars_(bars) {}

  // The whole document; the "No data" document when there are no bars.
  std::string render_svg() const { return render_document().text(); }
  // The same document in pieces, for a caller that copies it into storage of its own.
  SvgDocument render_document() const;

  static ValueRange calculate_indicator_range(std::span<const model::Bar> bars, const model::Indicator& indicator) {
    return indicator_range(bars, indicator);
  }

  // A 70-pixel scale at x, from top to top + height, labelling [lo, hi].
  static void render_price_scale(const ChartConfig& config, render::SvgBackend& backend, double x, double top,
                                 double height, double lo, double hi);

 private:
  const ChartConfig& config_;
  std::span<const model::Bar> bars_;
};

}  // namespace qc::api
