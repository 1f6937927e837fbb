// Captions of the styles with a setting: a box's size as the user reads it, and the baseline's level.
#include "api/style_caption.hpp"

#include "coords/price_scale.hpp"
#include "util/numbers.hpp"

namespace qc::api {
namespace {

// The box as settled: "25", "2%", or "ATR(14) 110.3" when the ATR chose it.
void append_box(std::string& out, const model::BoxSettings& boxes, bool atr) {
  if (atr) out += "ATR(14) ";
  util::append_shortest(out, boxes.size);
  if (boxes.percent) out += '%';
}

}  // namespace

std::optional<std::string> style_caption(const SeriesConfig& series, bool atr, std::optional<double> baseline,
                                         int decimals) {
  std::string out;
  switch (series.series_type) {
    case SeriesType::Renko:
      out = "Renko ";
      append_box(out, series.boxes, atr);
      return out;
    case SeriesType::PointAndFigure:
      out = "P&F ";
      append_box(out, series.boxes, atr);
      out += " x ";
      out += std::to_string(series.boxes.count);
      return out;
    case SeriesType::LineBreak:
      return "Line break " + std::to_string(series.boxes.count);
    case SeriesType::Kagi:
      out = "Kagi ";
      append_box(out, series.boxes, atr);
      return out;
    case SeriesType::Baseline:
      if (!baseline) return std::nullopt;
      out = "Baseline ";
      coords::append_price_fixed(out, *baseline, decimals);
      return out;
    default:
      return std::nullopt;
  }
}

}  // namespace qc::api
