// The caller's series, fills and levels: pane numbers, styles and the records they become.
#include "api/user_series.hpp"

#include <cstdio>
#include <utility>
#include <variant>

#include "api/palette.hpp"
#include "api/series_colors.hpp"
#include "render/engine/types.hpp"
#include "util/unicode_case.hpp"

namespace qc::api {
namespace {

constexpr std::string_view kUserIdPrefix = "custom_";

std::string user_id(std::string_view name) {
  std::string id(kUserIdPrefix);
  util::append_lowercase(id, name);
  for (std::size_t i = kUserIdPrefix.size(); i < id.size(); ++i) {
    if (id[i] == ' ') id[i] = '_';
  }
  return id;
}

}  // namespace

bool is_user_record(const model::Indicator& record) { return record.id.starts_with(kUserIdPrefix); }

namespace {

model::Indicator user_record(std::string_view name, PaneTarget pane, std::optional<double> height) {
  model::Indicator ind = model::Indicator::make(user_id(name), name);
  switch (pane.kind) {
    case PaneTarget::Kind::main: break;
    case PaneTarget::Kind::fresh: ind.placement = model::placement::SubPane{height.value_or(kUserPaneRatio)}; break;
    case PaneTarget::Kind::sub: ind.placement = model::placement::Joins{pane.sub}; break;
  }
  return ind;
}

model::VectorStyle series_vector_style(const SeriesLooks& looks) {
  model::style::Line line{looks.color, looks.width, false, false};
  switch (looks.style) {
    case SeriesStyle::line: break;
    case SeriesStyle::dashed: line.dashed = true; break;
    case SeriesStyle::dotted: line.dotted = true; break;
    case SeriesStyle::area: line.area = true; break;
    case SeriesStyle::step: return {model::style::StepLine{looks.color, looks.width}};
    case SeriesStyle::histogram: return model::VectorStyle::histogram_colored(looks.up_color, looks.down_color);
    case SeriesStyle::dots: return model::VectorStyle::dots(looks.color, kSeriesDotRadius, true);
  }
  return {std::move(line)};
}

// The colour as "#rrggbbaa", tinted as fills are; a text that does not parse takes the custom colour.
std::string fill_color(std::string_view css) {
  const render::Color c = palette::tint(render::css_or(css, palette::kCustom));
  char text[10];
  std::snprintf(text, sizeof text, "#%02x%02x%02x%02x", c.r, c.g, c.b, c.a);
  return text;
}

}  // namespace

std::size_t sub_pane_count(const ChartConfig& config) {
  std::size_t n = 0;
  for (const model::Indicator& ind : config.indicators) {
    n += std::holds_alternative<model::placement::SubPane>(ind.placement) ? 1 : 0;
  }
  return n;
}

std::optional<PaneTarget> pane_at(const ChartConfig& config, std::int64_t index) {
  if (index == 0) return PaneTarget::main();
  const std::size_t n = sub_pane_count(config);
  // |index| in unsigned arithmetic: -INT64_MIN does not fit the signed type.
  const std::uint64_t magnitude = index < 0 ? 0 - static_cast<std::uint64_t>(index) : static_cast<std::uint64_t>(index);
  if (magnitude > n) return std::nullopt;
  return PaneTarget::sub_pane(index > 0 ? magnitude - 1 : n - magnitude);
}

std::optional<SeriesStyle> series_style(std::string_view name) {
  for (std::size_t i = 0; i < kSeriesStyleNames.size(); ++i) {
    if (kSeriesStyleNames[i] == name) return static_cast<SeriesStyle>(i);
  }
  return std::nullopt;
}

std::string_view next_user_color(const ChartConfig& config) {
  return kUserSeriesColors[config.user_series_calls % kUserSeriesColors.size()];
}

model::Indicator user_series(std::string_view name, model::Values values, PaneTarget pane,
                             const SeriesLooks& looks) {
  model::Indicator ind = user_record(name, pane, looks.height);
  if (looks.range && pane.kind == PaneTarget::Kind::fresh) ind.range = model::range::Fixed{looks.range->lo, looks.range->hi};
  for (const double level : looks.levels) {
    ind.levels.push_back(model::IndicatorLevel::make(kUserLevelColor, level).dotted());
  }
  model::IndicatorVector vec = model::IndicatorVector::make(name, series_vector_style(looks));
  vec.values = std::move(values);
  return std::move(ind).add_vector(std::move(vec));
}

model::Indicator user_fill(std::string_view name, model::Values upper, model::Values lower,
                           PaneTarget pane, std::string_view above_color, std::string_view below_color) {
  const std::string above = fill_color(above_color), below = fill_color(below_color);
  model::Indicator ind = user_record(name, pane, std::nullopt);
  // The lower side fills against the upper one (its partner), which fills against nothing.
  model::IndicatorVector top = model::IndicatorVector::make("Upper", model::VectorStyle::fill(above, below, ""));
  model::IndicatorVector bottom = model::IndicatorVector::make("Lower", model::VectorStyle::fill(above, below, "Upper"));
  top.values = std::move(upper);
  bottom.values = std::move(lower);
  return std::move(ind).add_vector(std::move(top)).add_vector(std::move(bottom));
}

Chart add_user_record(Chart&& chart, model::Indicator record, bool color_given) {
  ++chart.config.user_series_calls;
  return add_record(std::move(chart), std::move(record), color_given ? kNoneDefault : kAllDefault);
}

PaneLevel pane_level(PaneTarget pane, double value, std::string_view color, std::string_view style, double width,
                     std::optional<std::string> label) {
  PaneLevel level;
  level.pane = pane.kind == PaneTarget::Kind::main ? PrimitivePane::main() : PrimitivePane::sub(pane.sub);
  level.level = model::IndicatorLevel::make(color, value);
  level.level.style = std::string(style);
  level.level.width = width;
  level.level.label = std::move(label);
  return level;
}

}  // namespace qc::api
