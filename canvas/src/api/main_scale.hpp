// The main pane's price scale: linear over the padded price range, or logarithmic when the chart asks for
// it and its prices allow one.
#pragma once

#include <span>
#include <string>

#include "api/legend_painter.hpp"
#include "api/value_range.hpp"
#include "coords/log_scale.hpp"
#include "coords/price_mapping.hpp"
#include "coords/price_scale.hpp"
#include "model/indicators.hpp"
#include "model/series/data.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

class MainScale {
 public:
  // Over the bars' lows and highs and the overlays' values at `at`, on a pane `height` pixels high from the
  // top. A log scale needs those prices above zero and not all equal; otherwise the scale stays linear.
  MainScale(model::BarsView bars, std::span<const model::Indicator* const> overlays, double height,
            bool log, ValueIndices at = {});

  // The one mapping of everything drawn on the main pane.
  const coords::PriceMapping& mapping() const { return mapping_; }
  std::span<const double> ticks() const { return mapping_.log ? log_.ticks() : linear_.ticks(); }
  // How the legend and the last price write the pane's prices: with the labels' most decimals, at least
  // those a caption gives the largest tick.
  LegendNumbers numbers() const;
  // A value as the scale's labels write it: a linear scale's with its labels' decimals, a log scale's with
  // the most its labels carry.
  void append_label(std::string& out, double value) const;
  void render(render::SvgBackend& backend, const coords::AxisTheme& theme, double x) const;

 private:
  coords::PriceMapping mapping_;
  coords::PriceTicks linear_;   // a linear scale's
  coords::LabelledTicks log_;   // a log scale's, top to bottom
};

}  // namespace qc::api
