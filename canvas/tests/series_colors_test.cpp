// Default colours giving way as records join a chart: within a record, across panes, beside the caller's own.
#include "api/series_colors.hpp"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

using namespace qc;

namespace {

model::IndicatorVector line(std::string_view color) {
  return model::IndicatorVector::make("v", model::VectorStyle::line(color, 1.0));
}

model::Indicator record(model::IndicatorPlacement placement, std::vector<model::IndicatorVector> vectors) {
  model::Indicator ind = model::Indicator::make("r", "R");
  ind.placement = placement;
  for (model::IndicatorVector& v : vectors) ind = std::move(ind).add_vector(std::move(v));
  return ind;
}

// Every colour text of the last record's vectors, in order.
std::vector<std::string> colors_of_last(const api::Chart& chart) {
  std::vector<std::string> out;
  for (const model::IndicatorVector& v : chart.config.indicators.back().vectors) {
    std::visit(
        [&](const auto& s) {
          if constexpr (requires { s.color; }) out.push_back(s.color);
          if constexpr (requires { s.upper_color; }) out.push_back(s.upper_color);
        },
        v.style.v);
  }
  return out;
}

TEST(SeriesColors, DefaultsGiveWayWithinTheirPaneOnly) {
  using model::placement::Joins;
  using model::placement::Overlay;
  using model::placement::SubPane;
  using model::placement::VolumeBand;
  const model::Indicator chart_histogram =
      record(VolumeBand{0.2}, {model::IndicatorVector::make("h", model::VectorStyle::histogram())});
  struct Case {
    const char* name;
    std::vector<model::Indicator> before;
    model::Indicator added;
    api::DefaultColors defaults;
    std::vector<std::string> want;
  };
  const std::vector<Case> cases = {
      {"one colour met twice takes one, each at its alpha",
       {record(Overlay{}, {line("#2196F3")})},
       record(Overlay{}, {line("#2196f3"), line("#2196F380")}), api::kAllDefault, {"#2962ff", "#2962ff80"}},
      {"the caller's colour counts as drawn by the record",
       {record(Overlay{}, {line("#2962ff")})},
       record(Overlay{}, {line("#2962ff"), line("#ff9800")}), 0b01, {"#9c27b0", "#ff9800"}},
      {"a histogram in the chart's colours draws them",
       {chart_histogram}, record(Overlay{}, {line("#26a69a")}), api::kAllDefault, {"#2962ff"}},
      {"a pane of its own keeps its defaults",
       {record(Overlay{}, {line("#2962ff")})}, record(SubPane{0.2}, {line("#2962ff")}), api::kAllDefault,
       {"#2962ff"}},
      {"a joined pane meets its own records, not the main pane's",
       {record(Overlay{}, {line("#ff9800")}), record(SubPane{0.2}, {line("#2962ff")})},
       record(Joins{0}, {line("#2962ff")}), api::kAllDefault, {"#ff9800"}},
      {"a given colour is kept", {record(Overlay{}, {line("#2962ff")})}, record(Overlay{}, {line("#2962ff")}),
       api::kNoneDefault, {"#2962ff"}},
  };
  for (const Case& c : cases) {
    api::Chart chart = api::Chart::make(400, 300);
    chart.config.indicators = c.before;
    chart = api::add_record(std::move(chart), c.added, c.defaults);
    EXPECT_EQ(colors_of_last(chart), c.want) << c.name;
  }
}

}  // namespace
