// Bar geometry of a view: scroll position, bar spacing and body width for a view of a given size.
#pragma once

#include <algorithm>
#include <cstdint>

#include "util/safe_math.hpp"

namespace qc::api {

struct Viewport {
  double offset_bars = 0.0;  // scroll position, in bars
  double bar_spacing = 8.0;  // pixels per bar
  double bar_width_ratio = 0.8;
  double width = 0.0;
  double height = 0.0;
  std::uint64_t bar_count = 0;

  static Viewport make(double width, double height) {
    Viewport v;
    v.width = width;
    v.height = height;
    return v;
  }

  double bar_width() const { return bar_spacing * bar_width_ratio; }

  void set_size(double w, double h) {
    width = w;
    height = h;
  }

  // Shows the last bars; at least one bar counts as visible, even in a view too narrow for one.
  void scroll_to_end() {
    const auto visible = std::max<std::uint64_t>(util::saturating_cast<std::uint64_t>(width / bar_spacing), 1);
    offset_bars = bar_count > visible ? static_cast<double>(bar_count - visible) : 0.0;
  }

  void scroll_to_start() { offset_bars = 0.0; }
};

}  // namespace qc::api
