// The caller's own data as chart records: series and fills in any pane, levels, and the colours they take.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "api/chart.hpp"
#include "api/value_range.hpp"
#include "model/indicators.hpp"

namespace qc::api {

// The pane a call names: the main pane, a new sub-pane below those there are, or sub-pane `sub` (0: the top).
struct PaneTarget {
  enum class Kind : std::uint8_t { main, fresh, sub };
  Kind kind = Kind::main;
  std::uint64_t sub = 0;

  static PaneTarget main() { return {}; }
  static PaneTarget fresh() { return {Kind::fresh, 0}; }
  static PaneTarget sub_pane(std::uint64_t j) { return {Kind::sub, j}; }
  friend bool operator==(const PaneTarget&, const PaneTarget&) = default;
};

// The chart's sub-panes, in the order they are drawn, top to bottom.
std::size_t sub_pane_count(const ChartConfig& config);

// A pane by the caller's number: 0 the main pane, k >= 1 the k-th sub-pane from the top, -1 the lowest, -2 the
// one above it, and so on; none when the chart has no such pane.
std::optional<PaneTarget> pane_at(const ChartConfig& config, std::int64_t index);

enum class SeriesStyle : std::uint8_t { line, dashed, dotted, step, histogram, dots, area };
inline constexpr std::array<std::string_view, 7> kSeriesStyleNames{"line",      "dashed", "dotted", "step",
                                                                   "histogram", "dots",   "area"};
std::optional<SeriesStyle> series_style(std::string_view name);

inline constexpr double kLeastSeriesWidth = 0.5;
inline constexpr double kMostSeriesWidth = 5.0;
inline constexpr double kUserPaneRatio = 0.15;  // a new pane's height share when given none
inline constexpr double kSeriesDotRadius = 2.0;
inline constexpr std::string_view kUserLevelColor = "#787b86";

struct SeriesLooks {
  SeriesStyle style = SeriesStyle::line;
  std::string color;  // the line's or the dots' colour
  double width = 1.0;
  // A histogram's up and down colours; both empty: the chart's up and down colours at render time.
  std::string up_color;
  std::string down_color;
  std::vector<double> levels;         // dotted lines across the series' pane
  std::optional<ValueRange> range;    // a new pane's fixed range; none: automatic
  std::optional<double> height;       // a new pane's height share; none: kUserPaneRatio
};

// The colour the next of the user's series takes when given none: the palette's, in turn.
std::string_view next_user_color(const ChartConfig& config);

// The record of a series of values (one per bar, NaN where none) in `pane`: drawn by `looks`, named `name`
// under the id "custom_" and the name lower-cased with spaces as "_".
model::Indicator user_series(std::string_view name, model::Values values, PaneTarget pane,
                             const SeriesLooks& looks);

// The record of a fill between `upper` and `lower` in `pane`: run by run where both are finite, in
// `above_color` where upper >= lower and `below_color` elsewhere, both at alpha 0x33, split at the crossings.
model::Indicator user_fill(std::string_view name, model::Values upper, model::Values lower,
                           PaneTarget pane, std::string_view above_color, std::string_view below_color);

// Whether a record holds the caller's own values (a series or fill of this file's, by its id).
bool is_user_record(const model::Indicator& record);

// The chart with the record added (its colours the defaults where the caller gave none, which give way as
// add_record says), counting one more of the user's series calls.
Chart add_user_record(Chart&& chart, model::Indicator record, bool color_given);

// A level line in a pane that exists (not a new one).
PaneLevel pane_level(PaneTarget pane, double value, std::string_view color, std::string_view style, double width,
                     std::optional<std::string> label);

}  // namespace qc::api
