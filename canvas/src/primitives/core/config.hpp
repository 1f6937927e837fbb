// One level of a level-based drawing tool (Fibonacci, pitchfork): ratio, visibility and styling.
#pragma once

#include <optional>
#include <string>

namespace qc::primitives {

struct FibLevelConfig {
  double level = 0.0;
  bool visible = true;
  std::optional<std::string> color;
  std::optional<double> width;
  std::string style = "solid";
  std::optional<std::string> fill_color;
  double fill_opacity = 0.1;
  bool fill_enabled = false;

  static FibLevelConfig make(double level) {
    FibLevelConfig c;
    c.level = level;
    return c;
  }
};

}  // namespace qc::primitives
