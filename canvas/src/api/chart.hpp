// The chart value a Python `Chart` owns: configuration plus bars, changed only by builder operations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "api/config.hpp"
#include "api/live_record.hpp"
#include "model/series/bar_columns.hpp"
#include "model/series/boxes.hpp"

namespace qc::api {

using model::Bar;

// The box styles: each kind of box and the series type that draws it.
inline constexpr std::pair<model::BoxKind, SeriesType> kBoxStyles[] = {
    {model::BoxKind::renko, SeriesType::Renko},
    {model::BoxKind::point_and_figure, SeriesType::PointAndFigure},
    {model::BoxKind::line_break, SeriesType::LineBreak},
    {model::BoxKind::kagi, SeriesType::Kagi},
};

// The kind of box a series type draws; none for the styles drawn from the bars as they are.
constexpr std::optional<model::BoxKind> box_kind(SeriesType type) {
  for (const auto& [kind, t] : kBoxStyles) {
    if (t == type) return kind;
  }
  return std::nullopt;
}

// The series type that draws a kind of box.
constexpr SeriesType series_type_of(model::BoxKind kind) {
  for (const auto& [k, type] : kBoxStyles) {
    if (k == kind) return type;
  }
  return SeriesType::Renko;
}

// What a chart drawn as boxes keeps beside them: the bars the user gave, which the boxes are made from.
struct BoxSource {
  model::BarColumns bars;
  std::vector<std::size_t> last_bar;  // each box's last bar among `bars`, ascending
  bool atr = false;                   // the box was asked for as None: new bars settle it again
  friend bool operator==(const BoxSource&, const BoxSource&) = default;
};

struct Chart {
  ChartConfig config;
  model::BarColumns bars;  // the bars drawn: the boxes while the series is a box style
  BoxSource source;        // empty unless the series is a box style
  // How each record of config.indicators follows new bars, by index; records past its end hold the caller's
  // values.
  std::vector<LiveRecord> live;

  // Whether `bars` holds boxes made from `source.bars`.
  bool boxed() const { return box_kind(config.series.series_type).has_value(); }
  // The bars as the user gave them.
  const model::BarColumns& user_bars() const { return boxed() ? source.bars : bars; }

  static Chart make(std::uint32_t width, std::uint32_t height) {
    Chart c;
    c.config.width = width;
    c.config.height = height;
    return c;
  }

  // Builders take the chart by value and return it changed; appending keeps call order.
  Chart background(std::string_view color) && {
    config.theme.background = std::string(color);
    return std::move(*this);
  }
  Chart colors(std::string_view up, std::string_view down) && {
    config.theme.up_color = std::string(up);
    config.theme.down_color = std::string(down);
    return std::move(*this);
  }
  // The theme's colours; the grid switch and the border colour keep their values.
  Chart theme(const ThemeColors& t) && {
    Chart c = std::move(*this).background(t.background).colors(t.up, t.down);
    c.config.theme.grid_color = std::string(t.grid);
    c.config.theme.text_color = std::string(t.text);
    return c;
  }
  Chart indicator(model::Indicator ind) && {
    config.indicators.push_back(std::move(ind));
    return std::move(*this);
  }
  Chart primitive(PrimitiveConfig prim) && {
    config.primitives.push_back(std::move(prim));
    return std::move(*this);
  }
  Chart signal(SignalConfig sig) && {
    config.signals.push_back(std::move(sig));
    return std::move(*this);
  }
};

}  // namespace qc::api
