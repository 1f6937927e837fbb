// Main-series kinds with their one-byte codes, and the style options of the main-series renderers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qc::model {

enum class SeriesType : std::uint8_t {
  Candlesticks = 0,
  Line = 5,
  Area = 8,
  OhlcBars = 9,
  HeikinAshi = 10,
  HollowCandles = 11,
  Columns = 12,
  Baseline = 13,
  HighLow = 14,
  StepLine = 15,
  Renko = 16,
  PointAndFigure = 17,
  LineBreak = 18,
  Kagi = 19,
};

// CSS colour texts; border_color and wick_color override the up/down pair for every candle when set
// (empty means not set).
struct CandlestickStyleOptions {
  std::string body_up_color;
  std::string border_up_color;
  std::string wick_up_color;
  std::string body_down_color;
  std::string border_down_color;
  std::string wick_down_color;
  std::string border_color;
  std::string wick_color;
  bool wick_visible = true;
  bool border_visible = false;
};

enum class LineType : std::uint8_t { Straight = 0, Stepped = 1, Curved = 2 };

struct LineStyleOptions {
  std::optional<double> point_radius;
  std::string color = "#2196f3";
  std::uint32_t line_width = 3;
  bool visible = true;
  bool point_markers_visible = false;
  LineType line_type = LineType::Straight;
  std::uint8_t line_style = 0;  // dash code: 0 solid, 1 to 4 dash patterns in units of the line width
};

}  // namespace qc::model
