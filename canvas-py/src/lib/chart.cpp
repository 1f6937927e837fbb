// The Python class Chart: constructor and the list of method groups.
#include "chart.hpp"
#include "pickle.hpp"

namespace qcpy {
namespace {

using namespace param;

constexpr Constructor<ChartClass> kNew{
    {u32("width"), u32("height")},
    [](Args& a) -> ChartClass::Value { return qc::api::Chart::make(a.u32(0), a.u32(1)); },
};

}  // namespace

std::optional<qc::coords::BarClock> ChartClass::bar_clock(const Value& chart) {
  if (!chart) return std::nullopt;
  if (!chart->boxed()) return qc::coords::BarClock{chart->bars.view().time, &chart->config.time_zone};
  return qc::coords::BarClock{chart->source.bars.view().time, &chart->config.time_zone, chart->source.last_bar};
}

ClassSpec ChartClass::spec() {
  ClassSpec s = class_spec<ChartClass>();
  set_constructor<kNew>(s);
  s.methods = {
      chart_settings_methods(),
      chart_format_methods(),
      chart_box_methods(),
      chart_live_methods(),
      chart_signal_methods(),
      chart_marker_methods(),
      chart_indicator_methods(),
      chart_compare_methods(),
      chart_user_series_methods(),
      chart_primitive_methods(),
      chart_copy_methods(),
      pickle_methods<ChartClass>(),
      chart_json_methods(),
      chart_output_methods(),
      chart_page_methods(),
  };
  return s;
}

}  // namespace qcpy
