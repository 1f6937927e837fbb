// Pane coordinates: bar index to x, value to y.
#pragma once

#include <cstddef>

namespace qc::coords {

// Bar i is drawn at the centre of its slot.
inline double bar_x(std::size_t i, double spacing) { return (static_cast<double>(i) + 0.5) * spacing; }

// Maps the value range [min, max] onto a pane from top to top + height, larger values higher up.
struct PriceMapping {
  double min = 0.0;
  double max = 1.0;
  double top = 0.0;
  double height = 0.0;

  double y(double value) const { return top + height - (value - min) / (max - min) * height; }
};

}  // namespace qc::coords
