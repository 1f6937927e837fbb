// Box styles on a chart: the settings settled once at the call, the user's bars set aside while boxes are
// drawn, and given back when the chart returns to a style of the bars.
#include "api/box_chart.hpp"

#include <utility>

#include "api/series_names.hpp"
#include "util/numbers.hpp"

namespace qc::api {

bool has_placed_items(const ChartConfig& config) {
  return !config.indicators.empty() || !config.primitives.empty() || !config.signals.empty() ||
         !config.levels.empty() || config.view.has_value();
}

std::string order_error(SeriesType called) {
  return "call " + std::string(series_name(called)) + "() before studies, series, signals, markers, tools and views";
}

std::string box_refusal(const SettledBoxes& settled, bool atr, std::size_t bars) {
  const model::BoxSettings& s = settled.settings;
  // Line break's amount is its count of lines.
  const char* name = s.kind == model::BoxKind::kagi         ? "reversal"
                     : s.kind == model::BoxKind::line_break ? "lines"
                                                            : "box";
  std::string what = "argument '" + std::string(name) + "': ";
  const std::string amount = s.kind == model::BoxKind::line_break ? std::to_string(s.count) : util::shortest(s.size);
  const std::string given = atr ? "None (an ATR box of " + amount + ")" : amount;
  switch (settled.fault) {
    case BoxFault::too_few_bars:
      return what + "None needs at least " + std::to_string(kAtrBoxBars) + " bars for an ATR box, got " +
             std::to_string(bars);
    case BoxFault::no_atr: return what + "None: the ATR(14) of the bars at the last bar is not a number above 0";
    case BoxFault::below_resolution: return what + given + " is below the prices' resolution";
    case BoxFault::too_many: {
      const std::string most = std::to_string(kMostBoxes);
      return what + given +
             (settled.count == SIZE_MAX ? " gives more than " + most + " boxes"
                                        : " gives " + std::to_string(settled.count) + " boxes, more than " + most);
    }
    case BoxFault::none: break;
  }
  return what + given;
}

SettledBoxes settle_boxes(model::BarsView bars, const BoxRequest& request) {
  SettledBoxes out{request.settings};
  if (request.atr) {
    if (bars.size() < kAtrBoxBars) {
      out.fault = BoxFault::too_few_bars;
      return out;
    }
    const std::optional<double> box = model::atr_box(bars);
    if (!box) {
      out.fault = BoxFault::no_atr;
      return out;
    }
    out.settings.size = *box;
  }
  if (model::below_resolution(bars, out.settings)) {
    out.fault = BoxFault::below_resolution;
    return out;
  }
  out.count = model::count_boxes(bars, out.settings);
  if (out.count > kMostBoxes) out.fault = BoxFault::too_many;
  return out;
}

// Built before anything moves, so that running out of memory leaves the chart as it was.
Chart draw_boxes(Chart&& chart, const model::BoxSettings& settings, bool atr) {
  model::Boxes boxes = model::make_boxes(chart.user_bars(), settings);
  if (!chart.boxed()) chart.source.bars = std::move(chart.bars);
  chart.bars = std::move(boxes.bars);
  chart.source.last_bar = std::move(boxes.last_bar);
  chart.source.atr = atr;
  chart.config.series = SeriesConfig{series_type_of(settings.kind), std::nullopt, std::nullopt, settings};
  return std::move(chart);
}

Chart draw_bars(Chart&& chart, SeriesConfig series) {
  if (chart.boxed()) {
    chart.bars = std::move(chart.source.bars);
    chart.source = BoxSource{};
  }
  chart.config.series = std::move(series);
  return std::move(chart);
}

Chart replace_bars(Chart&& chart, model::BarColumns bars, const model::BoxSettings& settings) {
  if (!chart.boxed()) {
    chart.bars = std::move(bars);
    return std::move(chart);
  }
  model::Boxes boxes = model::make_boxes(bars, settings);
  chart.source.bars = std::move(bars);
  chart.source.last_bar = std::move(boxes.last_bar);
  chart.bars = std::move(boxes.bars);
  chart.config.series.boxes = settings;
  return std::move(chart);
}

}  // namespace qc::api
