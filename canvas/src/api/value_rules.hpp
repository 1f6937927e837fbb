// The rules the builder methods apply to the values a chart keeps, written once for the builders and for the
// JSON reader, which accepts exactly what they accept.
#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "api/indicator_style.hpp"
#include "api/user_series.hpp"

namespace qc::api {

// A colour as a chart keeps it: a text that parses as a colour, as given, or a colour name as its "#rrggbb".
std::optional<std::string> color_text(std::string_view text);

// The dash styles of a level line.
inline constexpr std::array<std::string_view, 3> kLevelStyles{"solid", "dashed", "dotted"};
constexpr bool is_level_style(std::string_view style) {
  return std::find(kLevelStyles.begin(), kLevelStyles.end(), style) != kLevelStyles.end();
}

// A user series' or a level's line width.
constexpr bool is_series_width(double width) { return width >= kLeastSeriesWidth && width <= kMostSeriesWidth; }

// A pane's (or a volume band's) share of the height.
constexpr bool is_pane_height(double share) { return share >= kLeastPaneHeight && share <= kMostPaneHeight; }

}  // namespace qc::api
