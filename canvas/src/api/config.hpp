// The configuration records of one chart: series, colours, indicators, primitives, signals and size.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "api/view.hpp"
#include "coords/price_format.hpp"
#include "coords/time_format.hpp"
#include "coords/time_zone.hpp"
#include "model/indicators.hpp"
#include "model/series/boxes.hpp"
#include "model/series/options.hpp"
#include "primitives/core/types.hpp"

namespace qc::api {

using model::SeriesType;

// Series code 1, which no builder sets, draws candles with body borders; codes without a series of their
// own draw plain candles.
inline constexpr std::uint8_t kBorderedCandles = 1;

struct SeriesConfig {
  SeriesType series_type = SeriesType::Candlesticks;
  std::optional<std::string> color;  // line/area colour; the up colour when absent
  std::optional<double> baseline;    // the baseline style's level; absent: the first finite close drawn
  model::BoxSettings boxes;  // a box style's settled settings
};

// The colours a preset theme sets. The grid colour also strokes the scales' borders and the panes'
// separators; the text colour writes the scales, the title and the legend.
struct ThemeColors {
  std::string_view background, up, down, grid, text;
};
inline constexpr ThemeColors kDarkTheme{"#131722", "#26a69a", "#ef5350", "#1e222d", "#b2b5be"};
inline constexpr ThemeColors kLightTheme{"#ffffff", "#26a69a", "#ef5350", "#e0e3eb", "#434651"};
// The colours the user's series take in turn when given none.
inline constexpr std::array<std::string_view, 8> kUserSeriesColors{"#2962ff", "#ff9800", "#9c27b0", "#26a69a",
                                                                   "#ef5350", "#00bcd4", "#795548", "#607d8b"};

// A new chart wears the dark theme.
struct ThemeConfig {
  std::string background{kDarkTheme.background};
  std::string grid_color{kDarkTheme.grid};
  std::string up_color{kDarkTheme.up};
  std::string down_color{kDarkTheme.down};
  std::string text_color{kDarkTheme.text};
  std::string border_color = "#2a2e39";
  bool show_grid = false;
};

enum class SignalType : std::uint8_t {
  Buy = 0,
  Sell = 1,
  TakeProfit = 2,
  StopLoss = 3,
  Entry = 4,
  Exit = 5,
  Custom = 6,
};

struct SignalConfig {
  SignalType signal_type = SignalType::Buy;
  std::uint64_t bar_index = 0;
  double price = 0.0;
  double size = 1.0;  // the marker is size x 12 pixels
  std::optional<std::string> color;
  std::optional<std::string> label;
  // The price is the bar's own low (a buy or entry) or high (a sell or exit), not the caller's: the glyph
  // stands off the bar rather than on it.
  bool off_bar = false;

  SignalConfig with_label(std::string_view text) && {
    label = std::string(text);
    return std::move(*this);
  }
};

// The primitives' anchor type, so that descriptions hand their points to the registry as they are.
using Point = primitives::Point;

// Main pane, or a sub-pane by index.
struct PrimitivePane {
  bool is_main = true;
  std::uint64_t sub_pane = 0;

  static PrimitivePane main() { return {}; }
  static PrimitivePane sub(std::uint64_t index) { return {false, index}; }

  friend bool operator==(const PrimitivePane&, const PrimitivePane&) = default;
};

// Element of a description's level list; nothing in the system fills or reads it.
struct LevelConfig {
  std::string name;
  std::optional<std::string> label;
  double value = 0.0;
  double extra = 0.0;
};

// A horizontal line across a pane at a value, with an optional label above it; it takes no part in the
// pane's range and is left out where the range does not reach it.
struct PaneLevel {
  PrimitivePane pane;
  model::IndicatorLevel level;
};

struct PrimitiveConfig {
  std::string type_id;
  std::vector<Point> points;
  std::string color = "#2196F3";
  double width = 1.5;
  std::optional<std::string> text;
  PrimitivePane pane;
  std::vector<LevelConfig> levels;

  static PrimitiveConfig make(std::string_view type_id, std::vector<Point> points) {
    PrimitiveConfig p;
    p.type_id = std::string(type_id);
    p.points = std::move(points);
    return p;
  }
};

// A pane's prices as the user writes them.
struct PaneFormat {
  PrimitivePane pane;
  coords::PriceFormat format;
};

enum class Detail : std::uint8_t { automatic, full };

// How the main pane's scale reads prices: as they are; as the per cent change from the first drawn close; as
// that close indexed to 100; or by their logarithm. Each falls back to prices when the bars do not allow it
// (a log scale needs prices above zero, the other two a first close other than zero).
enum class PriceScaleMode : std::uint8_t { price, percent, indexed, log };

struct ChartConfig {
  SeriesConfig series;
  ThemeConfig theme;
  std::vector<model::Indicator> indicators;
  std::vector<PrimitiveConfig> primitives;
  std::vector<SignalConfig> signals;
  std::vector<PaneLevel> levels;
  std::vector<PaneFormat> price_formats;  // one at most per pane
  double dpr = 1.0;
  // Whether bars sharing a device-pixel column are drawn as the marks the column can show (auto) or each
  // on its own (full).
  Detail detail = Detail::automatic;
  std::uint32_t width = 800;
  std::uint32_t height = 600;
  std::string title;         // none when empty
  bool show_legend = false;  // each pane's studies named at its top-left, with their last values
  coords::TimeZone time_zone;  // the clock calendar time is read on: UTC unless set
  std::string time_zone_name = "UTC";  // the zone's name as given
  std::string time_zone_tzif;          // the TZif bytes the zone was read from; none for UTC
  coords::TimeFormat time_format;  // the time axis' labels and the crosshair's time tag, as the user writes them
  PriceScaleMode price_scale = PriceScaleMode::price;
  bool show_last_price = false;  // the last close marked across the main pane and on its scale
  std::optional<ViewRequest> view;  // the bars drawn, resolved at each render; all when none
  std::uint32_t user_series_calls = 0;  // overlay, fill_between and compare calls so far: the next palette colour
};

// The pane's format, or none for the scale's own.
inline const coords::PriceFormat* price_format_of(const ChartConfig& config, PrimitivePane pane) {
  for (const PaneFormat& f : config.price_formats) {
    if (f.pane == pane) return &f.format;
  }
  return nullptr;
}

}  // namespace qc::api
