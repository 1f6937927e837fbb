// Pane geometry of one render: plot area, main pane, the bars drawn and their spacing.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "api/value_range.hpp"
#include "coords/price_mapping.hpp"
#include "coords/price_scale.hpp"
#include "coords/time_axis.hpp"
#include "model/series/bar_columns.hpp"
#include "model/series/data.hpp"
#include "render/chart/device_columns.hpp"

namespace qc::api {

inline constexpr double kSubPaneGap = 4.0;
// The share of the plot height the sub-panes may take together; the price pane keeps the rest.
inline constexpr double kMaxSubPaneShare = 0.75;

// The device-pixel ratio the drawing snaps to. Snapping divides by the ratio and multiplies coordinates by
// it, so a ratio that is zero, negative or not a number draws at 1, and others are held within
// [1/256, 256] (beyond any display) so that no snapped coordinate overflows.
inline double drawable_dpr(double dpr) {
  if (!(dpr > 0) || !(dpr < INFINITY)) return 1.0;
  return std::clamp(dpr, 1.0 / 256, 256.0);
}

struct Layout {
  double width = 0.0;   // canvas, W
  double height = 0.0;  // canvas, H
  double plot_width = 0.0;
  double plot_height = 0.0;
  double main_height = 0.0;
  double spacing = 0.0;
  std::size_t n = 0;      // the bars drawn: all of them, or a view's
  std::size_t first = 0;  // the first bar drawn, an index in the full series
  std::size_t total = 0;  // the bars of the full series
  // The sub-panes' ratio sum when it exceeds their share and they are scaled down to it; 0 otherwise.
  double squeezed_ratio_sum = 0.0;
  // The device-pixel ratio by which the drawn bars are grouped into columns; 0 when each is drawn alone.
  double column_ratio = 0.0;

  // Canvases smaller than the scale and the axis give an empty area rather than a negative one. Sub-panes
  // asking for more than their share together are scaled down to it, so that many studies never push the
  // price chart off the canvas.
  static Layout make(std::uint32_t w, std::uint32_t h, std::size_t bars, double sub_pane_ratio_sum,
                     std::size_t first = 0, std::size_t total = 0) {
    Layout l;
    l.width = w;
    l.height = h;
    l.plot_width = std::max(l.width - coords::kPriceScaleWidth, 0.0);
    l.plot_height = std::max(l.height - coords::kTimeAxisHeight, 0.0);
    if (std::isfinite(sub_pane_ratio_sum) && sub_pane_ratio_sum > kMaxSubPaneShare) {
      l.squeezed_ratio_sum = sub_pane_ratio_sum;
      l.main_height = (1.0 - kMaxSubPaneShare) * l.plot_height;
    } else {
      l.main_height = std::max((1.0 - sub_pane_ratio_sum) * l.plot_height, 0.0);
    }
    l.n = bars;
    l.first = first;
    l.total = std::max(total, first + bars);
    l.spacing = bars ? l.plot_width / static_cast<double>(bars) : 0.0;
    return l;
  }

  // Groups the drawn bars by device column when they outnumber the plot's device columns at ratio dpr.
  Layout& grouped_at(double dpr) {
    column_ratio = static_cast<double>(n) > plot_width * dpr ? dpr : 0.0;
    return *this;
  }
  // The drawn bars' grouping, by their index in the full series.
  render::DeviceColumns columns() const { return {column_ratio, spacing, first, first, first + n}; }

  // The share of the plot height a sub-pane of height ratio r is given.
  double sub_pane_ratio(double r) const {
    return squeezed_ratio_sum > 0 ? (r * kMaxSubPaneShare) / squeezed_ratio_sum : r;
  }

  double candle_width() const { return std::max(spacing * 0.8, 1.0); }

  // Whether a view selects some of the bars.
  bool has_view() const { return n < total; }
  // Bar k of the full series, at the centre of its slot in the drawn bars.
  double x(std::uint64_t k) const { return coords::bar_x(k, spacing, first); }
  // The drawn bars [begin, end) among `size` values. Values past the bars (a vector made before the bars
  // were set again with fewer) have no slot and are never drawn.
  std::size_t begin(std::size_t size) const { return std::min(first, size); }
  std::size_t end(std::size_t size) const { return std::min(first + n, size); }
  // The same with the bars on either side, through which lines and fills reach the plot's edges.
  std::size_t reach_begin(std::size_t size) const { return begin(size) - (first > 0 && first <= size ? 1 : 0); }
  std::size_t reach_end(std::size_t size) const { return std::min({first + n + (has_view() ? 1 : 0), total, size}); }
  // What the value ranges take: the drawn bars' values and prices.
  ValueIndices drawn() const { return {first, first + n}; }
  model::BarsView drawn_bars(model::BarsView bars) const {
    const std::size_t b = begin(bars.size());
    return bars.subview(b, end(bars.size()) - b);
  }
};

}  // namespace qc::api
