// Each main-series style by the name its Chart method and the chart's JSON form give it.
#pragma once

#include <array>
#include <string_view>
#include <utility>

#include "api/config.hpp"

namespace qc::api {

inline constexpr std::array<std::pair<SeriesType, std::string_view>, 14> kSeriesNames{{
    {SeriesType::Candlesticks, "candlesticks"},
    {SeriesType::Line, "line"},
    {SeriesType::Area, "area"},
    {SeriesType::OhlcBars, "ohlc_bars"},
    {SeriesType::HeikinAshi, "heikin_ashi"},
    {SeriesType::HollowCandles, "hollow_candles"},
    {SeriesType::Columns, "columns"},
    {SeriesType::Baseline, "baseline"},
    {SeriesType::HighLow, "high_low"},
    {SeriesType::StepLine, "step_line"},
    {SeriesType::Renko, "renko"},
    {SeriesType::PointAndFigure, "point_and_figure"},
    {SeriesType::LineBreak, "line_break"},
    {SeriesType::Kagi, "kagi"},
}};

constexpr std::string_view series_name(SeriesType type) {
  for (const auto& [t, name] : kSeriesNames) {
    if (t == type) return name;
  }
  return kSeriesNames[0].second;  // series code 1 (bordered candles), which no method sets
}

}  // namespace qc::api
