// What a caller may change of a study's looks: its drawn vectors' colours and its pane's height.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "api/indicator_rows.hpp"
#include "api/series_colors.hpp"
#include "model/indicators.hpp"

namespace qc::api {

// The colours given for one drawn vector; an absent one keeps the row's. A line, step line or dots take
// `first`; a histogram takes its up and down colours, a cloud its first and second (where its partner lies
// at or above it, and below; its edge follows the second).
struct VectorColors {
  std::optional<std::string> first;
  std::optional<std::string> second;
};

// Every vector but a hidden one is drawn, and takes colours.
constexpr bool is_drawn(const VectorSpec& v) { return v.kind != VectorKind::Hidden; }

// Histograms and clouds are drawn in two colours.
constexpr bool takes_two_colors(const VectorSpec& v) {
  return v.kind == VectorKind::Histogram || v.kind == VectorKind::HistogramColored || v.kind == VectorKind::Cloud;
}

// The vectors of a row that are drawn.
constexpr std::size_t drawn_vector_count(const IndicatorSpec& row) {
  std::size_t n = 0;
  for (const VectorSpec& v : row.vectors) n += is_drawn(v) ? 1 : 0;
  return n;
}

// The heights a caller may give a pane (or a volume band): its share of the plot (or price pane) height.
inline constexpr double kLeastPaneHeight = 0.05;
inline constexpr double kMostPaneHeight = 0.6;

// The indicator's pane (or band) height in place of its row's; an overlay has none and is left alone.
void set_pane_height(model::Indicator& ind, double height);

// Gives the drawn vectors of `ind` (hidden ones skipped), in order, the colours of `colors`; entries past
// the drawn vectors are ignored.
void recolor(model::Indicator& ind, std::span<const VectorColors> colors);

// The lines (dots included) of a record of `row` that keep the row's own colour: those whose colour is not
// an argument's and for which `colors` (as recolor reads them) gives none.
DefaultColors default_lines(const IndicatorSpec& row, std::span<const VectorColors> colors);

}  // namespace qc::api
