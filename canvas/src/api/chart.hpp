// The chart value a Python `Chart` owns: configuration plus bars, changed only by builder operations.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "api/config.hpp"
#include "model/series/bar_columns.hpp"

namespace qc::api {

using model::Bar;

struct Chart {
  ChartConfig config;
  model::BarColumns bars;

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
