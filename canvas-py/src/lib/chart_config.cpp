// Rows of the Python class ChartConfig: a constructor without parameters and nothing else.
#include "chart_config.hpp"

#include "rows.hpp"

namespace qcpy {
namespace {

constexpr Constructor<ChartConfigClass> kNew{{}, [](Args&) { return qc::api::ChartConfig{}; }};

}  // namespace

ClassSpec ChartConfigClass::spec() {
  ClassSpec s = class_spec<ChartConfigClass>();
  set_constructor<kNew>(s);
  return s;
}

}  // namespace qcpy
