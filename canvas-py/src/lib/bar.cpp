// Rows of the Python class Bar.
#include "bar.hpp"

#include <charconv>
#include <string>

#include "pickle.hpp"
#include "rows.hpp"
#include "state.hpp"
#include "util/numbers.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::model::Bar;

constexpr Constructor<BarClass> kNew{
    {i64("timestamp"), f64("open"), f64("high"), f64("low"), f64("close"), f64("volume", "0.0")},
    [](Args& a) { return Bar{a.i64(0), a.f64(1), a.f64(2), a.f64(3), a.f64(4), a.f64(5)}; },
};

constexpr MethodRow<BarClass> kMethods[] = {
    {"is_bullish", "Whether the bar closed at or above its open", {}, Borrow::shared, [](Call<BarClass>& c) { return to_py(c.value().is_bullish()); },
     nullptr, "bool"},
};

// Read-only and without a doc (their __doc__ is None).
constexpr PropertyRow<BarClass> kProperties[] = {
    {"timestamp", "int", [](const Bar& b) { return to_py(b.timestamp); }, {}, nullptr, nullptr},
    {"open", "float", [](const Bar& b) { return to_py(b.open); }, {}, nullptr, nullptr},
    {"high", "float", [](const Bar& b) { return to_py(b.high); }, {}, nullptr, nullptr},
    {"low", "float", [](const Bar& b) { return to_py(b.low); }, {}, nullptr, nullptr},
    {"close", "float", [](const Bar& b) { return to_py(b.close); }, {}, nullptr, nullptr},
    {"volume", "float", [](const Bar& b) { return to_py(b.volume); }, {}, nullptr, nullptr},
};

// "Bar(ts=0, o=1, h=2, l=0.5, c=1.5, v=0)": floats in their shortest text, never in exponent form.
std::string repr(const Bar& b) {
  std::string s = "Bar(ts=";
  char digits[24];
  s.append(digits, std::to_chars(digits, digits + sizeof digits, b.timestamp).ptr);
  const std::pair<const char*, double> fields[] = {
      {", o=", b.open}, {", h=", b.high}, {", l=", b.low}, {", c=", b.close}, {", v=", b.volume}};
  for (const auto& [label, v] : fields) {
    s += label;
    qc::util::append_shortest_fixed(s, v);
  }
  s += ')';
  return s;
}

}  // namespace

std::string BarClass::state(const Bar& b) {
  StateWriter w;
  w.i64(b.timestamp);
  for (double v : {b.open, b.high, b.low, b.close, b.volume}) w.f64(v);
  return w.take();
}

Bar BarClass::from_state(std::string_view state) {
  StateReader r(state, name, 48);
  Bar b;
  b.timestamp = r.i64();
  for (double* v : {&b.open, &b.high, &b.low, &b.close, &b.volume}) *v = r.f64();
  return b;
}

ClassSpec BarClass::spec() {
  ClassSpec s = class_spec<BarClass>();
  set_constructor<kNew>(s);
  s.methods = {method_defs<kMethods>(), pickle_methods<BarClass>()};
  s.properties = property_defs<kProperties>();
  s.repr = repr_entry<BarClass, repr>;
  return s;
}

}  // namespace qcpy
