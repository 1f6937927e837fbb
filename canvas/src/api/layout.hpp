// Pane geometry of one render: plot area, main pane, bar spacing and the value-to-pixel mapping of a pane.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "api/value_range.hpp"

namespace qc::api {

inline constexpr double kPriceScaleWidth = 70.0;
inline constexpr double kTimeAxisHeight = 30.0;
inline constexpr double kSubPaneGap = 4.0;

struct Layout {
  double width = 0.0;   // canvas, W
  double height = 0.0;  // canvas, H
  double plot_width = 0.0;
  double plot_height = 0.0;
  double main_height = 0.0;
  double spacing = 0.0;
  std::size_t n = 0;

  // Canvases smaller than the scale and the axis, and sub-panes claiming more than the plot height, give
  // an empty area rather than a negative one.
  static Layout make(std::uint32_t w, std::uint32_t h, std::size_t bars, double sub_pane_ratio_sum) {
    Layout l;
    l.width = w;
    l.height = h;
    l.plot_width = std::max(l.width - kPriceScaleWidth, 0.0);
    l.plot_height = std::max(l.height - kTimeAxisHeight, 0.0);
    l.main_height = std::max((1.0 - sub_pane_ratio_sum) * l.plot_height, 0.0);
    l.n = bars;
    l.spacing = bars ? l.plot_width / static_cast<double>(bars) : 0.0;
    return l;
  }

  double bar_x(double index) const { return (index + 0.5) * spacing; }
  double candle_width() const { return std::max(spacing * 0.8, 1.0); }
};

// Maps a value to y in a pane [top, top + height] over the range [lo, hi]. The fraction of the range is
// held within a million pane heights, so a value far outside the range, or one whose distance from the
// range overflows, still lands on a finite pixel.
struct PaneScale {
  double top = 0.0;
  double height = 0.0;
  ValueRange range;

  double y(double v) const {
    constexpr double kMaxFraction = 1e6;
    const double t = std::clamp((v - range.lo) / (range.hi - range.lo), -kMaxFraction, kMaxFraction);
    return top + height - t * height;
  }
};

}  // namespace qc::api
