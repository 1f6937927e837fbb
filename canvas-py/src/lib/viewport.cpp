// Rows of the Python class Viewport.
#include "viewport.hpp"

#include "rows.hpp"

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
    {"set_size", nullptr, {f64("width"), f64("height")}, Borrow::exclusive,
     [](C& c) {
       c.value().set_size(c.args.f64(0), c.args.f64(1));
       return none();
     }},
    {"set_bar_count", nullptr, {u64("count")}, Borrow::exclusive,
     [](C& c) {
       c.value().bar_count = c.args.u64(0);
       return none();
     }},
    {"scroll_to_end", nullptr, {}, Borrow::exclusive,
     [](C& c) {
       c.value().scroll_to_end();
       return none();
     }},
    {"scroll_to_start", nullptr, {}, Borrow::exclusive,
     [](C& c) {
       c.value().scroll_to_start();
       return none();
     }},
};

constexpr PropertyRow<ViewportClass> kProperties[] = {
    {"bar_width", [](const Viewport& v) { return to_py(v.bar_width()); }},
    {"chart_width", [](const Viewport& v) { return to_py(v.width); }},
    {"chart_height", [](const Viewport& v) { return to_py(v.height); }},
};

}  // namespace

ClassSpec ViewportClass::spec() {
  ClassSpec s = class_spec<ViewportClass>();
  set_constructor<kNew>(s);
  s.methods = {method_defs<kMethods>()};
  s.properties = property_defs<kProperties>();
  return s;
}

}  // namespace qcpy
