// Constructors and builders of the indicator model.
#include "model/indicators.hpp"

#include <utility>

namespace qc::model {

VectorStyle VectorStyle::line(std::string_view color, double width) {
  return {style::Line{std::string(color), width, false, false}};
}
VectorStyle VectorStyle::line_through_gaps(std::string_view color, double width) {
  return {style::Line{std::string(color), width, false, true}};
}
VectorStyle VectorStyle::dashed(std::string_view color) {
  return {style::Line{std::string(color), 1.0, true, false}};
}
VectorStyle VectorStyle::histogram(style::SlotPart part, style::ChartShade up, style::ChartShade down) {
  return {style::Histogram{{}, {}, 0.8, part, up, down}};
}
VectorStyle VectorStyle::histogram_colored(std::string_view up_color, std::string_view down_color,
                                           style::SlotPart part) {
  return {style::Histogram{std::string(up_color), std::string(down_color), 0.8, part}};
}
VectorStyle VectorStyle::cloud(std::string_view upper_color, std::string_view lower_color, std::string_view partner,
                               double width) {
  return {style::Cloud{std::string(upper_color), std::string(lower_color), std::string(partner), width}};
}
VectorStyle VectorStyle::dots(std::string_view color, double radius, bool filled) {
  return {style::Dots{std::string(color), radius, filled}};
}
VectorStyle VectorStyle::fill(std::string_view above_color, std::string_view below_color, std::string_view partner) {
  return {style::Cloud{std::string(above_color), std::string(below_color), std::string(partner), 0.0, false}};
}
VectorStyle VectorStyle::hidden() { return {style::Hidden{}}; }

IndicatorLevel IndicatorLevel::make(std::string_view color, double value) {
  IndicatorLevel level;
  level.color = std::string(color);
  level.value = value;
  return level;
}
IndicatorLevel IndicatorLevel::solid() && {
  style = "solid";
  return std::move(*this);
}
IndicatorLevel IndicatorLevel::dotted() && {
  style = "dotted";
  return std::move(*this);
}
IndicatorLevel IndicatorLevel::with_label(std::string_view text) && {
  label = std::string(text);
  return std::move(*this);
}

IndicatorVector IndicatorVector::make(std::string_view name, VectorStyle style) {
  return IndicatorVector{std::string(name), {}, {}, std::move(style)};
}

Indicator Indicator::make(std::string_view id, std::string_view name) {
  Indicator ind;
  ind.id = std::string(id);
  ind.name = std::string(name);
  return ind;
}

Indicator Indicator::add_level(IndicatorLevel level) && {
  levels.push_back(std::move(level));
  return std::move(*this);
}

Indicator Indicator::add_vector(IndicatorVector vector) && {
  vectors.push_back(std::move(vector));
  return std::move(*this);
}

Indicator Indicator::macd(std::string_view id, std::uint32_t fast, std::uint32_t slow, std::uint32_t signal) {
  std::string name = "MACD (";
  name += std::to_string(fast);
  name += ',';
  name += std::to_string(slow);
  name += ',';
  name += std::to_string(signal);
  name += ')';
  Indicator ind = make(id, name);
  ind.placement = placement::SubPane{0.2};
  ind.range = range::Symmetric{};
  return std::move(ind)
      .add_level(IndicatorLevel::make("#787b86", 0.0).dotted())
      .add_vector(IndicatorVector::make("MACD", VectorStyle::line("#2196F3", 1.0)))
      .add_vector(IndicatorVector::make("Signal", VectorStyle::line("#FF9800", 1.0)))
      .add_vector(IndicatorVector::make("Histogram", VectorStyle::histogram()));
}

}  // namespace qc::model
