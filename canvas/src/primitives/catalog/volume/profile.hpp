// The volume profile both profile tools measure and draw: the traded volume of a run of bars by price band,
// its point of control and its value area.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "model/series/bar_columns.hpp"
#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

// Bars first .. last, both held.
struct BarSpan {
  std::size_t first, last;
};

// The bars k with round(from) <= k <= round(to) (either order) among `count` held bars; none when a bound
// is NaN or the span misses them all.
std::optional<BarSpan> held_bars(std::size_t count, double from, double to) noexcept;

struct VolumeProfile {
  double low = 0.0, high = 0.0;  // the price range the bands split
  std::vector<double> volume;    // per band, the lowest first
  std::size_t poc = 0;           // the band of most volume, the lower on a tie
  std::size_t area_low = 0, area_high = 0;  // the value area's lowest and highest band

  double band_bottom(std::size_t i) const noexcept;
  double band_top(std::size_t i) const noexcept;
};

// The bars' price range (lowest low to highest high) split into `rows` equal bands, half-open except the top
// one; each bar's volume shared among the bands in proportion to the part of its low-high range in each (a
// bar with low = high gives all to its band). The value area grows from the point of control one band at a
// time, the larger neighbour first (the upper on a tie), until it holds at least 70 % of the volume. Bars
// without a finite low and high are left out, and a volume that is not a positive number adds nothing;
// none when no rows are asked for or nothing traded.
std::optional<VolumeProfile> measure_volume_profile(const model::BarsView& bars, BarSpan span, std::size_t rows);

// Where a profile is drawn: its rows grow right from x, the band of most volume `longest` px long, all
// inside the chart's width; the point-of-control and value-area lines run from line_left to line_right.
struct ProfilePlacement {
  double x, longest, line_left, line_right;
  bool show_poc, show_value_area;
};

// The rows in the record's colour at half alpha, the point-of-control line at its band's middle price and
// the dashed, faint value-area lines at the area's top and bottom.
void draw_volume_profile(RenderContext& ctx, const PrimitiveData& data, const VolumeProfile& profile,
                         const ProfilePlacement& at);

}  // namespace qc::primitives::catalog
