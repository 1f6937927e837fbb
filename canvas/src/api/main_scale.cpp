// The main pane's scale chosen, ticked and drawn, linear or logarithmic.
#include "api/main_scale.hpp"

#include "api/value_range.hpp"

namespace qc::api {

MainScale::MainScale(model::BarsView bars, std::span<const model::Indicator* const> overlays,
                     double height, bool log, ValueIndices at) {
  const std::optional<ValueRange> ends = price_pane_ends(bars, overlays, at);
  if (log && ends) {
    if (const auto pane = coords::log_price_mapping(ends->lo, ends->hi, 0.0, height)) {
      mapping_ = *pane;
      log_ = coords::log_price_ticks(mapping_);
      return;
    }
  }
  const ValueRange r = price_pane_range(ends);
  mapping_ = coords::PriceMapping{r.lo, r.hi, 0.0, height};
  linear_ = coords::price_ticks(r.lo, r.hi, height);
}

LegendNumbers MainScale::numbers() const {
  if (!mapping_.log) {
    return pane_legend_numbers(linear_, mapping_.min, mapping_.max, mapping_.height, coords::ScaleNumbers::full);
  }
  return {quoted_decimals(log_.most_decimals(), log_.ticks(), log_.largest_magnitude()), false};
}

void MainScale::append_label(std::string& out, double value) const {
  if (mapping_.log) {
    coords::append_price_fixed(out, value, log_.most_decimals());
  } else {
    coords::ScaleLabels(linear_, coords::ScaleNumbers::full).append(out, value);
  }
}

void MainScale::render(render::SvgBackend& backend, const coords::AxisTheme& theme, double x) const {
  if (mapping_.log) {
    coords::render_price_scale(backend, theme, x, mapping_, log_);
  } else {
    coords::render_price_scale(backend, theme, x, mapping_.top, mapping_.height, mapping_.min, mapping_.max, linear_,
                               coords::ScaleNumbers::full);
  }
}

}  // namespace qc::api
