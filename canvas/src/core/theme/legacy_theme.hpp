// The legacy simple theme: five colour texts in a dark and a light preset, unrelated to the other themes.
#pragma once

#include <string_view>

namespace qc::theme {

struct LegacyTheme {
  std::string_view candle_up;
  std::string_view candle_down;
  std::string_view grid_color;
  std::string_view bg_color;
  std::string_view text_color;

  static constexpr LegacyTheme dark() { return {"#26a69a", "#ef5350", "#2a2e3999", "#131722", "#b2b5be"}; }
  static constexpr LegacyTheme light() { return {"#26a69a", "#ef5350", "#0000000f", "#ffffff", "#434651"}; }

  bool operator==(const LegacyTheme&) const = default;
};

}  // namespace qc::theme
