// Rows of the Python class ChartConfig: a constructor without parameters and pickling.
#include "chart_config.hpp"

#include "pickle.hpp"
#include "rows.hpp"
#include "state.hpp"

namespace qcpy {
namespace {

constexpr Constructor<ChartConfigClass> kNew{{}, [](Args&) { return qc::api::ChartConfig{}; }};

}  // namespace

// Nothing changes a ChartConfig after its constructor made the defaults, so its state is empty.
std::string ChartConfigClass::state(const qc::api::ChartConfig&) { return {}; }

qc::api::ChartConfig ChartConfigClass::from_state(std::string_view state) {
  StateReader r(state, name, 0);
  return qc::api::ChartConfig{};
}

ClassSpec ChartConfigClass::spec() {
  ClassSpec s = class_spec<ChartConfigClass>();
  set_constructor<kNew>(s);
  s.methods = {pickle_methods<ChartConfigClass>()};
  return s;
}

}  // namespace qcpy
