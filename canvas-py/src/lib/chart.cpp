// The Python class Chart: constructor and the list of method groups.
#include "chart.hpp"

namespace qcpy {
namespace {

using namespace param;

constexpr Constructor<ChartClass> kNew{
    {u32("width"), u32("height")},
    [](Args& a) -> ChartClass::Value { return qc::api::Chart::make(a.u32(0), a.u32(1)); },
};

}  // namespace

ClassSpec ChartClass::spec() {
  ClassSpec s = class_spec<ChartClass>();
  set_constructor<kNew>(s);
  s.methods = {
      chart_settings_methods(),
      chart_signal_methods(),
      chart_indicator_methods(),
      chart_user_series_methods(),
      chart_primitive_methods(),
      chart_copy_methods(),
      chart_output_methods(),
  };
  return s;
}

}  // namespace qcpy
