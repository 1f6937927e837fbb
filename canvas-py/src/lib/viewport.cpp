// Rows of the Python class Viewport.
#include "viewport.hpp"

#include "pickle.hpp"
#include "rows.hpp"
#include "state.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::api::Viewport;
using C = Call<ViewportClass>;

constexpr Constructor<ViewportClass> kNew{
    {f64("width"), f64("height")},
    [](Args& a) { return Viewport::make(a.f64(0), a.f64(1)); },
};

constexpr MethodRow<ViewportClass> kMethods[] = {
    {"set_size", "Set the chart size the viewport lays the bars out in",
     {f64("width").means("chart width in pixels"), f64("height").means("chart height in pixels")}, Borrow::exclusive,
     [](C& c) {
       c.value().set_size(c.args.f64(0), c.args.f64(1));
       return none();
     }},
    {"set_bar_count", "Set the number of bars there are to show", {u64("count")}, Borrow::exclusive,
     [](C& c) {
       c.value().bar_count = c.args.u64(0);
       return none();
     }},
    {"scroll_to_end", "Scroll so that the last bar is in view", {}, Borrow::exclusive,
     [](C& c) {
       c.value().scroll_to_end();
       return none();
     }},
    {"scroll_to_start", "Scroll so that the first bar is in view", {}, Borrow::exclusive,
     [](C& c) {
       c.value().scroll_to_start();
       return none();
     }},
};

constexpr PropertyRow<ViewportClass> kProperties[] = {
    {"bar_width", "float", [](const Viewport& v) { return to_py(v.bar_width()); }},
    {"chart_width", "float", [](const Viewport& v) { return to_py(v.width); }},
    {"chart_height", "float", [](const Viewport& v) { return to_py(v.height); }},
};

}  // namespace

// Every field, those no property shows included (scroll position, spacing, bar count).
std::string ViewportClass::state(const Viewport& v) {
  StateWriter w;
  for (double f : {v.offset_bars, v.bar_spacing, v.bar_width_ratio, v.width, v.height}) w.f64(f);
  w.u64(v.bar_count);
  return w.take();
}

Viewport ViewportClass::from_state(std::string_view state) {
  StateReader r(state, name, 48);
  Viewport v;
  for (double* f : {&v.offset_bars, &v.bar_spacing, &v.bar_width_ratio, &v.width, &v.height}) *f = r.f64();
  v.bar_count = r.u64();
  return v;
}

ClassSpec ViewportClass::spec() {
  ClassSpec s = class_spec<ViewportClass>();
  set_constructor<kNew>(s);
  s.methods = {method_defs<kMethods>(), pickle_methods<ViewportClass>()};
  s.properties = property_defs<kProperties>();
  return s;
}

}  // namespace qcpy
