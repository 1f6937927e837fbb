// Indicator model: where a study is drawn, how its range is found, its levels and its value lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/values.hpp"

namespace qc::model {

namespace placement {
struct Overlay {};
struct VolumeBand {
  double ratio;  // share of the price pane's height
};
struct SubPane {
  double ratio;  // share of the chart's height
};
// Drawn in an existing sub-pane (0: the top one) after the record that made it, whose range rule it joins.
struct Joins {
  std::uint64_t sub_pane;
};
}  // namespace placement
using IndicatorPlacement =
    std::variant<placement::Overlay, placement::VolumeBand, placement::SubPane, placement::Joins>;

namespace range {
struct Auto {};
struct Fixed {
  double min;
  double max;
};
struct Symmetric {};
struct Price {};
// Counts up from nothing (volumes): 0 to 10 % above the largest value.
struct FromZero {};
}  // namespace range
using RangeMode = std::variant<range::Auto, range::Fixed, range::Symmetric, range::Price, range::FromZero>;

namespace style {
struct Line {
  std::string color;
  double width;
  bool dashed;
  bool through_gaps;  // one line through the finite values (points of one path), not broken at gaps
  // Where set, the colours of the runs whose first bar is up or down by the vector's up flags.
  std::string up_color = {};
  std::string down_color = {};
  bool dotted = false;  // dash 2,2 in place of `dashed`'s 4,4
  bool area = false;    // under each run, down to the pane's bottom, a fill of its colour at alpha 0x33
};
struct SolidLine {
  std::string color;
  double width;
};
// The part of its slot a histogram's bar fills: all of it, or one half when two histograms share each slot
// side by side.
enum class SlotPart : std::uint8_t { whole, left_half, right_half };
// One of the chart's up and down colours, at an alpha, as the renderer reads them.
struct ChartShade {
  bool up = true;
  std::uint8_t alpha = 0xff;
  friend constexpr bool operator==(ChartShade, ChartShade) = default;
};
// Both colours empty: the bars take the chart's colours when drawn, the shades saying which (by default its
// up colour for up bars and its down colour for the others), so that they follow later colour changes.
struct Histogram {
  std::string up_color;
  std::string down_color;
  double bar_width_ratio;
  SlotPart part = SlotPart::whole;
  ChartShade up_shade = {true, 0xff};
  ChartShade down_shade = {false, 0xff};

  bool takes_chart_colors() const { return up_color.empty() && down_color.empty(); }
};
struct Dots {
  std::string color;
  double radius;
  bool filled;
};
struct StepLine {
  std::string color;
  double width;
};
// Filled against another vector of the same indicator, its partner, then edged with its own line.
struct Cloud {
  std::string upper_color;  // where the partner lies at or above the cloud's line
  std::string lower_color;  // where it lies below; also the edge line's colour
  std::string partner;      // the partner vector's name
  double width;             // the edge line's width
  // Without an edge the cloud is a fill alone: no line, no value in the legend. A cloud whose partner is
  // missing fills nothing, so the other side of such a fill is one too.
  bool edged = true;
};
struct Hidden {};
}  // namespace style

struct VectorStyle {
  std::variant<style::Line, style::SolidLine, style::Histogram, style::Dots, style::StepLine, style::Cloud,
               style::Hidden>
      v;

  static VectorStyle line(std::string_view color, double width);
  static VectorStyle line_through_gaps(std::string_view color, double width);
  static VectorStyle dashed(std::string_view color);
  // In the chart's colours (see style::Histogram).
  static VectorStyle histogram(style::SlotPart part = style::SlotPart::whole, style::ChartShade up = {true, 0xff},
                               style::ChartShade down = {false, 0xff});
  static VectorStyle histogram_colored(std::string_view up_color, std::string_view down_color,
                                       style::SlotPart part = style::SlotPart::whole);
  static VectorStyle cloud(std::string_view upper_color, std::string_view lower_color, std::string_view partner,
                           double width = 1.0);
  static VectorStyle dots(std::string_view color, double radius, bool filled);
  static VectorStyle fill(std::string_view above_color, std::string_view below_color, std::string_view partner);
  static VectorStyle hidden();
  // Kept for its values only: drawn nowhere and counted in no range.
  bool is_hidden() const { return std::holds_alternative<style::Hidden>(v); }
};

struct IndicatorLevel {
  std::string color;
  std::string style = "dashed";  // "solid", "dashed" or "dotted"
  std::optional<std::string> label;
  double value = 0.0;
  double width = 1.0;

  static IndicatorLevel make(std::string_view color, double value);
  IndicatorLevel solid() &&;
  IndicatorLevel dotted() &&;
  IndicatorLevel with_label(std::string_view label) &&;
};

struct IndicatorVector {
  std::string name;
  Values values;  // one per bar; NaN where the bar has no value
  std::vector<std::uint8_t> up_flags;  // one per bar (1: the up colour); volume and rising/falling histograms
  VectorStyle style;

  static IndicatorVector make(std::string_view name, VectorStyle style);
};

struct Indicator {
  IndicatorPlacement placement = placement::Overlay{};
  RangeMode range = range::Auto{};
  std::string id;
  std::string name;
  std::vector<IndicatorLevel> levels;
  std::vector<IndicatorVector> vectors;
  // One key per bar where the lines break into runs that are not joined (calendar periods, trend
  // directions); empty when they run unbroken.
  std::vector<std::uint32_t> runs;
  // Each run of a line draws as one horizontal segment at its value, from its first bar to its last.
  bool runs_are_levels = false;
  // Another symbol's closes: on a per cent or indexed scale measured from its own first value in view, not
  // from the main series' first close.
  bool own_base = false;

  static Indicator make(std::string_view id, std::string_view name);
  // MACD without values: vectors 0 "MACD", 1 "Signal", 2 "Histogram" are filled by position later.
  static Indicator macd(std::string_view id, std::uint32_t fast, std::uint32_t slow, std::uint32_t signal);
  Indicator add_level(IndicatorLevel level) &&;
  Indicator add_vector(IndicatorVector vector) &&;
};

}  // namespace qc::model
