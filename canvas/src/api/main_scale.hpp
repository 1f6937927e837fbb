// The main pane's price scale: linear over the padded price range; logarithmic, or per cent or indexed from
// the first drawn close, when the chart asks for it and its prices allow one.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "api/config.hpp"
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
  // Over the series' lows and highs (`series`, the bars drawn as candles), the overlays' values at `at` and the
  // series' level if any, on a pane `height` pixels high from the top. A log scale needs those prices above zero
  // and not all equal; a per cent or indexed one a first finite real close (of `drawn`, the drawn bars) other
  // than zero, and then spans the overlays measured from their own bases with the rest measured from that
  // close. Otherwise the scale is linear over the prices, ticked at multiples of `grid` when one is given.
  // A volume band standing on the pane's foot `band` of its height high lowers the low end until the lowest
  // price stands above the band.
  MainScale(model::BarsView series, model::BarsView drawn, std::span<const model::Indicator* const> overlays,
            double height, PriceScaleMode mode, ValueIndices at = {}, std::optional<double> level = std::nullopt,
            std::optional<double> grid = std::nullopt, double band = 0.0);

  // The pane's format of the user's, none for the scale's own: the labels, the tags and the legend's prices
  // are written with it, on a relative scale the labels and tags without its prefix and suffix.
  void set_format(const coords::PriceFormat* format);

  // The one mapping of everything drawn on the main pane.
  const coords::PriceMapping& mapping() const { return mapping_; }
  // The mapping of one overlay: the pane's, or on a relative scale a compared line's, measured from its own
  // base; none for a compared line without a base on a relative scale (it is not drawn).
  std::optional<coords::PriceMapping> mapping_of(const model::Indicator& overlay) const {
    return mapping_of(overlay, mapping_);
  }
  // A compared line's base, wherever the scale's mode (its first finite value from the main series' base on).
  std::optional<double> own_base(const model::Indicator& line) const;
  // The numbers of the scale: prices, or per cent changes or index points on a relative scale.
  std::span<const double> ticks() const { return mapping_.log ? log_.ticks() : linear_.ticks(); }
  // How the legend writes the pane's prices: with the labels' most decimals of a price scale, at least those a
  // caption gives the largest tick.
  LegendNumbers numbers() const { return prices_; }
  // The last-price tag's text for a close: append_number() of its number on the scale.
  void append_mark(std::string& out, double close) const { append_number(out, mapping_.scaled(close)); }
  // A number of the scale on a tag (the last price's, the crosshair's): a price as the legend writes prices; on a
  // relative scale the number with two decimals, signed and with "%" on a per cent scale.
  void append_number(std::string& out, double number) const;
  void render(render::SvgBackend& backend, const coords::AxisTheme& theme, double x) const;

 private:
  // A relative scale's numbers carry two decimals on the tags.
  static constexpr int kMarkDecimals = 2;

  // Sets a relative mapping from the main series' base; false when the bars give none.
  bool relate(model::BarsView series, model::BarsView drawn, std::span<const model::Indicator* const> overlays,
              double height, PriceScaleMode mode, ValueIndices at, std::optional<double> level, double band);
  std::optional<coords::PriceMapping> mapping_of(const model::Indicator& overlay,
                                                 const coords::PriceMapping& pane) const;

  coords::PriceMapping mapping_;
  coords::PriceTicks linear_;   // a linear scale's
  coords::LabelledTicks log_;   // a log scale's, top to bottom
  coords::ScaleNumbers labels_ = coords::ScaleNumbers::full;
  LegendNumbers prices_;
  const coords::PriceFormat* format_ = nullptr;
  coords::PriceFormat numbers_only_;  // format_'s without prefix and suffix
  ValueIndices from_base_{0, 0};  // from the main series' base to the last drawn bar; empty without a base
};

}  // namespace qc::api
