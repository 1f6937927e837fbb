// Box styles on a chart: the settings settled once at the call, the user's bars set aside while boxes are
// drawn, and given back when the chart returns to a style of the bars.
#include "api/box_chart.hpp"

#include <utility>

#include "api/series_names.hpp"

namespace qc::api {

bool has_placed_items(const ChartConfig& config) {
  return !config.indicators.empty() || !config.primitives.empty() || !config.signals.empty() ||
         !config.levels.empty() || config.view.has_value();
}

std::string order_error(SeriesType called) {
  return "call " + std::string(series_name(called)) + "() before studies, series, signals, markers, tools and views";
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
