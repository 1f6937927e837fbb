// Bars that share a device-pixel column: when the drawn bars outnumber the columns, each column's bars are
// drawn as the marks the column can show, so that a million bars cost what a thousand do.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

#include "coords/price_mapping.hpp"
#include "util/extremes.hpp"

namespace qc::render {

// The grouping of bars by the device column c(k) = floor(x_k * ratio) their centre falls in, x_k at slot
// k - origin of the given spacing. Consecutive bars of [begin, end) in one column form a group; the bars
// outside (a view's neighbours, through which lines reach the plot's edges) are groups of their own.
struct DeviceColumns {
  double ratio = 0.0;  // device pixels per pixel; 0 draws every bar on its own
  double spacing = 0.0;
  std::size_t origin = 0;
  std::size_t begin = 0;
  std::size_t end = 0;

  bool reduces() const { return ratio > 0.0; }

  // The same grouping for indices counted from bar `base` (base <= origin and begin).
  DeviceColumns rebased(std::size_t base) const { return {ratio, spacing, origin - base, begin - base, end - base}; }

  // A whole number, kept as a double: the plot's coordinates are bounded, so it is exact.
  double column(std::size_t k) const { return std::floor(coords::bar_x(k, spacing, origin) * ratio); }

  // One past the last bar of the group that starts at k, not beyond `limit` (> k). The column grows with
  // the bar, so the end is found from where the next column's edge falls, then stepped to the exact bar
  // (a step or two at most) rather than counted bar by bar.
  std::size_t group_end(std::size_t k, std::size_t limit) const {
    if (!reduces() || k < begin || k >= end) return k + 1;
    const double c = column(k);
    const std::size_t stop = std::min(limit, end);
    if (k + 1 >= stop) return k + 1;
    const double edge = static_cast<double>(origin) - 0.5 + (c + 1.0) / (ratio * spacing);
    std::size_t e = k + 1;
    if (edge >= static_cast<double>(stop)) {
      e = stop;
    } else if (edge > static_cast<double>(e)) {
      e = static_cast<std::size_t>(edge);
    }
    while (e > k + 1 && column(e - 1) != c) --e;
    while (e < stop && column(e) == c) ++e;
    return e;
  }

  // A group's mark stands in its column: from c / ratio, one device pixel wide.
  double left(double c) const { return c / ratio; }
  double right(double c) const { return (c + 1.0) / ratio; }
  double centre(double c) const { return (c + 0.5) / ratio; }
  double pixel() const { return 1.0 / ratio; }
};

// Calls group(a, b) for each group [a, b) of [first, end) in bar order.
template <class Group>
void for_each_group(const DeviceColumns& columns, std::size_t first, std::size_t end, Group group) {
  for (std::size_t a = first; a < end;) {
    const std::size_t b = columns.group_end(a, end);
    group(a, b);
    a = b;
  }
}

// Calls keep(k), in bar order, for the bars of [first, end) that a line through the values needs: each bar
// of a group of one, and of a larger group its first, last, lowest and highest bar by each of `values` (each
// bar once; the first of equal values), among the bars where every value is finite. Other bars are not called.
template <class Keep, class... Values>
void for_each_kept_point(const DeviceColumns& columns, std::size_t first, std::size_t end, Keep keep,
                         Values... values) {
  const auto finite = [&](std::size_t k) { return util::all_true(util::finite_value(values(k))...); };
  for_each_group(columns, first, end, [&](std::size_t a, std::size_t b) {
    if (b - a == 1) {
      if (finite(a)) keep(a);
      return;
    }
    std::size_t from = a, to = b;
    while (from < to && !finite(from)) ++from;
    if (from == to) return;
    while (!finite(to - 1)) --to;
    constexpr std::size_t kMost = 2 + 2 * sizeof...(Values);
    std::array<std::size_t, kMost> kept{};
    std::size_t count = 0;
    kept[count++] = from;
    const auto track = [&](const auto& value) {
      const util::ExtremeBars at = util::extreme_bars(from, to, value, value, finite);
      kept[count++] = at.low;
      kept[count++] = at.high;
    };
    (track(values), ...);
    kept[count++] = to - 1;
    for (std::size_t i = 1; i < count; ++i) {  // a handful of bars: insertion order
      for (std::size_t j = i; j > 0 && kept[j] < kept[j - 1]; --j) std::swap(kept[j], kept[j - 1]);
    }
    for (std::size_t i = 0; i < count; ++i) {
      if (i == 0 || kept[i] != kept[i - 1]) keep(kept[i]);
    }
  });
}

}  // namespace qc::render
