// Rows of the Python class Bar.
#include "bar.hpp"

#include <charconv>
#include <string>

#include "rows.hpp"
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
    {"is_bullish", nullptr, {}, Borrow::shared, [](Call<BarClass>& c) { return to_py(c.value().is_bullish()); }},
};

// Read-only and without a doc (their __doc__ is None).
constexpr PropertyRow<BarClass> kProperties[] = {
    {"timestamp", [](const Bar& b) { return to_py(b.timestamp); }, {}, nullptr, nullptr},
    {"open", [](const Bar& b) { return to_py(b.open); }, {}, nullptr, nullptr},
    {"high", [](const Bar& b) { return to_py(b.high); }, {}, nullptr, nullptr},
    {"low", [](const Bar& b) { return to_py(b.low); }, {}, nullptr, nullptr},
    {"close", [](const Bar& b) { return to_py(b.close); }, {}, nullptr, nullptr},
    {"volume", [](const Bar& b) { return to_py(b.volume); }, {}, nullptr, nullptr},
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

ClassSpec BarClass::spec() {
  ClassSpec s = class_spec<BarClass>();
  set_constructor<kNew>(s);
  s.methods = {method_defs<kMethods>()};
  s.properties = property_defs<kProperties>();
  s.repr = repr_entry<BarClass, repr>;
  return s;
}

}  // namespace qcpy
