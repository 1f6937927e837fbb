// The main pane's scale chosen, ticked and drawn: linear, logarithmic, per cent or indexed.
#include "api/main_scale.hpp"
#include "render/chart/axes.hpp"

#include <cmath>
#include <vector>

#include "api/compare.hpp"
#include "api/value_range.hpp"

namespace qc::api {
namespace {

// The low end that puts the lowest value `band` of the way up from it to the high end (in logarithms on a
// log scale); the padding added after only widens the room, for a band below half the pane.
void leave_band_room(std::optional<ValueRange>& ends, double band, bool log) {
  if (!ends || !(band > 0.0 && band < 1.0) || !(ends->hi > ends->lo)) return;
  double lo = NAN;
  if (!log) {
    lo = (ends->lo - band * ends->hi) / (1.0 - band);
  } else if (ends->lo > 0.0) {
    lo = std::exp((std::log(ends->lo) - band * std::log(ends->hi)) / (1.0 - band));
  }
  if (std::isfinite(lo) && lo < ends->lo) ends->lo = lo;  // a range too wide to widen keeps its low
}

}  // namespace

MainScale::MainScale(model::BarsView series, model::BarsView drawn,
                     std::span<const model::Indicator* const> overlays, double height, PriceScaleMode mode,
                     ValueIndices at, std::optional<double> level, std::optional<double> grid, double band) {
  if (const auto base = main_base_index(drawn, at.first)) from_base_ = {*base, at.end};
  std::optional<ValueRange> ends = price_pane_ends(series, overlays, at, level);
  if (grid && ends) {
    // The glyphs stand centred on the grid prices: the highest and the lowest reach half a box beyond them.
    // A log scale keeps a low end that would reach zero or below.
    if (mode != PriceScaleMode::log || ends->lo > 0.5 * *grid) ends->lo -= 0.5 * *grid;
    ends->hi += 0.5 * *grid;
  }
  leave_band_room(ends, band, mode == PriceScaleMode::log);
  if (mode == PriceScaleMode::log && ends) {
    if (const auto pane = coords::log_price_mapping(ends->lo, ends->hi, 0.0, height)) {
      mapping_ = *pane;
      log_ = coords::log_price_ticks(mapping_);
      prices_ = {quoted_decimals(log_.most_decimals(), log_.ticks(), log_.largest_magnitude()), false};
      return;
    }
  }
  const ValueRange r = price_pane_range(ends);
  const bool relative = mode == PriceScaleMode::percent || mode == PriceScaleMode::indexed;
  if (relative && relate(series, drawn, overlays, height, mode, at, level, band)) {
    // The legend quotes the series' own prices, as a price scale over them would.
    prices_ = pane_legend_numbers(r.lo, r.hi, height, coords::ScaleNumbers::full);
    return;
  }
  mapping_ = coords::PriceMapping{r.lo, r.hi, 0.0, height};
  linear_ = grid ? coords::grid_ticks(r.lo, r.hi, height, *grid) : coords::price_ticks(r.lo, r.hi, height);
  prices_ = pane_legend_numbers(linear_, r.lo, r.hi, height, coords::ScaleNumbers::full);
}

bool MainScale::relate(model::BarsView series, model::BarsView drawn,
                       std::span<const model::Indicator* const> overlays, double height, PriceScaleMode mode,
                       ValueIndices at, std::optional<double> level, double band) {
  if (from_base_.first >= from_base_.end) return false;
  coords::PriceMapping pane{0.0, 0.0, 0.0, height};
  pane.relative = true;
  pane.base = drawn.close[from_base_.first - at.first];
  pane.origin = mode == PriceScaleMode::indexed ? 100.0 : 0.0;
  // The scale's numbers rise with the prices: the ends of a line's numbers are the numbers of its ends.
  FiniteSpan span;
  auto add = [&](const std::optional<ValueRange>& ends, const coords::PriceMapping& from) {
    if (!ends) return;
    span.add(from.scaled(ends->lo));
    span.add(from.scaled(ends->hi));
  };
  std::vector<const model::Indicator*> main_based;
  main_based.reserve(overlays.size());
  for (const model::Indicator* overlay : overlays) {
    if (!overlay->own_base) {
      main_based.push_back(overlay);
    } else if (const auto own = mapping_of(*overlay, pane)) {
      add(price_pane_ends({}, std::span(&overlay, 1), at), *own);
    }
  }
  add(price_pane_ends(series, main_based, at, level), pane);
  std::optional<ValueRange> ends = span.ends();
  leave_band_room(ends, band, false);
  const ValueRange r = price_pane_range(ends);
  pane.min = r.lo;
  pane.max = r.hi;
  mapping_ = pane;
  linear_ = coords::price_ticks(r.lo, r.hi, height);
  labels_ = mode == PriceScaleMode::percent ? coords::ScaleNumbers::percent : coords::ScaleNumbers::full;
  return true;
}

std::optional<double> MainScale::own_base(const model::Indicator& line) const {
  return api::own_base(line, from_base_);
}

std::optional<coords::PriceMapping> MainScale::mapping_of(const model::Indicator& overlay,
                                                          const coords::PriceMapping& pane) const {
  if (!pane.relative || !overlay.own_base) return pane;
  const std::optional<double> base = own_base(overlay);
  if (!base) return std::nullopt;
  coords::PriceMapping own = pane;
  own.base = *base;
  return own;
}

void MainScale::set_format(const coords::PriceFormat* format) {
  format_ = format;
  prices_.format = format;
  if (format != nullptr) numbers_only_ = format->numbers_only();
}

void MainScale::append_number(std::string& out, double number) const {
  const coords::PriceFormat* relative = format_ != nullptr ? &numbers_only_ : nullptr;
  if (!mapping_.relative) {
    coords::append_price_as(out, number, prices_.decimals, format_);
  } else if (labels_ == coords::ScaleNumbers::percent) {
    coords::append_percent(out, number, relative != nullptr ? relative->decimals_or(kMarkDecimals) : kMarkDecimals);
  } else {
    coords::append_price_as(out, number, kMarkDecimals, relative);
  }
}

void MainScale::render(render::SvgBackend& backend, const coords::AxisTheme& theme, double x) const {
  if (mapping_.log) {
    render::render_price_scale(backend, theme, x, mapping_, log_, format_);
  } else {
    render::render_price_scale(backend, theme, x, mapping_.top, mapping_.height, mapping_.min, mapping_.max, linear_,
                               labels_, mapping_.relative && format_ != nullptr ? &numbers_only_ : format_);
  }
}

}  // namespace qc::api
