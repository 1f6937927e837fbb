// Chart methods for comparing symbols: another symbol's closes as a line on the price pane, and the price
// pane's scale modes that set symbols side by side.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "api/compare.hpp"
#include "api/user_series.hpp"
#include "bar_values.hpp"
#include "chart.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::api::Chart;
using qc::api::PriceScaleMode;

struct ScaleModeName {
  std::string_view name;
  PriceScaleMode mode;
};
constexpr ScaleModeName kScaleModes[] = {{"price", PriceScaleMode::price},
                                         {"percent", PriceScaleMode::percent},
                                         {"indexed", PriceScaleMode::indexed},
                                         {"log", PriceScaleMode::log}};

PriceScaleMode scale_mode(const ChartCall& c, const std::string& given) {
  for (const ScaleModeName& m : kScaleModes) {
    if (m.name == given) return m.mode;
  }
  std::string names;
  for (const ScaleModeName& m : kScaleModes) (names += names.empty() ? "'" : ", '").append(m.name) += "'";
  Ref text = Ref::steal(PyUnicode_DecodeUTF8(given.data(), static_cast<Py_ssize_t>(given.size()), "replace"));
  if (!text) throw PyErrorPending{};
  PyErr_Format(PyExc_ValueError, "argument '%s': %R is not one of %s", c.params()[0].name, text.get(), names.c_str());
  throw PyErrorPending{};
}

PyObject* set_price_scale(ChartCall& c) {
  const PriceScaleMode mode = scale_mode(c, c.args.text(0));
  with_chart(c, [&](Chart&& chart) {
    chart.config.price_scale = mode;
    return std::move(chart);
  });
  return none();
}

// The values are read, and held to the bar count, before the chart is taken: a fault leaves it unchanged.
PyObject* add_compare(ChartCall& c) {
  qc::model::Values closes = bar_values(c.args.object(1), chart_of(c), c.params()[1].name);
  const std::optional<std::string>& color = c.args.opt_text(2);
  with_chart(c, [&](Chart&& chart) {
    const std::string_view line_color = color ? std::string_view(*color) : qc::api::next_user_color(chart.config);
    chart = qc::api::add_user_record(
        std::move(chart), qc::api::compare_indicator(c.args.text(0), std::move(closes), line_color), color.has_value());
    PriceScaleMode& scale = chart.config.price_scale;
    if (scale == PriceScaleMode::price || scale == PriceScaleMode::log) scale = PriceScaleMode::percent;
    return std::move(chart);
  });
  return none();
}

constexpr ChartRow kRows[] = {
    {"compare",
     "Draw another symbol's closes as a line on the price pane, measured from its own first close in view; the "
     "price scale turns to 'percent' unless it is 'indexed' or 'percent' already",
     {text("name"), number_column("closes").means("the other symbol's closes, one per bar, NaN where it has none"),
      star, opt_color("color").means("colour of the line; None: the next of the eight colours the user's series take")},
     Borrow::exclusive, add_compare},
    {"price_scale",
     "Set the price scale: 'price', 'percent' (each series' change from its first close in view), 'indexed' (the "
     "same with 100 at that close) or 'log' (as log_scale(True))",
     {text("mode").means("'price', 'percent', 'indexed' or 'log'")}, Borrow::exclusive, set_price_scale},
};

}  // namespace

MethodGroup chart_compare_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
