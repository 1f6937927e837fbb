// The caller's own data on the chart: `overlay` (its body; the row stands with the studies'), and the rows
// of `fill_between` and `level`. Every check runs before the chart changes, so that a refused call leaves it
// as it was.
#include <algorithm>
#include <cmath>
#include <span>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "api/user_series.hpp"
#include "api/value_rules.hpp"
#include "bar_values.hpp"
#include "chart.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::api::PaneTarget;

[[noreturn]] void raise_value_error(std::string_view arg, const std::string& what) {
  const std::string message = "argument '" + std::string(arg) + "': " + what;
  PyErr_SetString(PyExc_ValueError, message.c_str());
  throw PyErrorPending{};
}

// The Python repr of a float, as the messages quote numbers.
std::string number_text(double v) {
  Ref f = Ref::steal(PyFloat_FromDouble(v));
  if (!f) throw PyErrorPending{};
  Ref repr = Ref::steal(PyObject_Repr(f.get()));
  if (!repr) throw PyErrorPending{};
  return PyUnicode_AsUTF8(repr.get());
}

std::string quoted_list(std::span<const std::string_view> names) {
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) out += (i == 0 ? "'" : ", '") + std::string(names[i]) + "'";
  return out;
}

// The pane a call names: 'price', 'new' (where `fresh_allowed`), or a number the chart has a pane for.
void check_width(double width) {
  if (qc::api::is_series_width(width)) return;
  raise_value_error("width", "expected 0.5 to 5, got " + number_text(width));
}

// A pair of colours given as a colour list of two single colours.
std::optional<std::pair<std::string, std::string>> color_pair(ColorList& list, const char* names) {
  if (!list) return std::nullopt;
  if (list->size() != 2 || (*list)[0].pair || (*list)[1].pair || !(*list)[0].first || !(*list)[1].first) {
    raise_value_error("colors", std::string("expected two colours ") + names);
  }
  return std::pair(std::move(*(*list)[0].first), std::move(*(*list)[1].first));
}

// The colour given, else the palette's next.
std::string color_or_next(std::optional<std::string>& color, const qc::api::ChartConfig& config) {
  return color ? std::move(*color) : std::string(qc::api::next_user_color(config));
}

void append_user_record(ChartCall& c, qc::model::Indicator record, bool color_given) {
  with_chart(c, [&](qc::api::Chart&& chart) {
    return qc::api::add_user_record(std::move(chart), std::move(record), color_given);
  });
}

PyObject* fill_between_body(ChartCall& c) {
  // name, upper, lower, *, pane, color, colors
  std::optional<std::string>& color = c.args.opt_text(4);
  auto pair = color_pair(c.args.color_list(5), "(above, below)");
  if (color && pair) raise_value_error("colors", "give 'color' or 'colors', not both");
  const qc::api::Chart& chart = chart_of(c);
  const PaneTarget pane = pane_target(c.args.slot(3), chart.config, true);
  qc::model::Values upper = bar_values_or_constant(c.args.object(1), chart, "upper");
  qc::model::Values lower = bar_values_or_constant(c.args.object(2), chart, "lower");
  const bool given = color || pair;
  if (!pair) {
    const std::string one = color_or_next(color, chart.config);
    pair.emplace(one, one);
  }
  append_user_record(c, qc::api::user_fill(c.args.text(0), std::move(upper), std::move(lower), pane, pair->first,
                                           pair->second),
                     given);
  return none();
}

PyObject* level_body(ChartCall& c) {
  // value, *, pane, color, style, width, label
  const double value = c.args.f64(0);
  if (!std::isfinite(value)) raise_value_error("value", number_text(value) + " is not finite");
  const std::string& style = c.args.text(3);
  if (!qc::api::is_level_style(style)) {
    raise_value_error("style", "'" + style + "' is not one of " + quoted_list(qc::api::kLevelStyles));
  }
  check_width(c.args.f64(4));
  const PaneTarget pane = pane_target(c.args.slot(1), chart_of(c).config, false);
  qc::api::PaneLevel level =
      qc::api::pane_level(pane, value, c.args.text(2), style, c.args.f64(4), std::move(c.args.opt_text(5)));
  with_chart(c, [&](qc::api::Chart&& chart) {
    chart.config.levels.push_back(std::move(level));
    return std::move(chart);
  });
  return none();
}

constexpr ChartRow kRows[] = {
    {"fill_between", "Fill the area between two series of one's own, split where they cross",
     {text("name").means("the fill's name in the legend"),
      values_or_number("upper").means("the upper side: one value per bar, or one number for every bar"),
      values_or_number("lower").means("the lower side: one value per bar, or one number for every bar"), star,
      pane("pane", "'price'").means("'price' the main pane, 'new' a sub-pane of its own below the others, or a "
                                    "number: 0 the main pane, k the k-th sub-pane from the top, -1 the lowest"),
      opt_color("color").means("the fill's colour, drawn at alpha 0x33; None: the next of the palette"),
      color_list("colors").means("(above, below): the colours where upper >= lower and where not")},
     Borrow::exclusive, fill_between_body},
    {"level", "Draw a horizontal line at a value across a pane, with an optional label",
     {f64("value").means("the value the line marks, in the pane's units"), star,
      pane("pane", "0").means("0 the main pane, k the k-th sub-pane from the top, -1 the lowest"),
      color("color", "'#787b86'").means("colour of the line and its label"),
      text("style", "'dashed'").means("'solid', 'dashed' or 'dotted'"), f64("width", "1.0").means("the line's width, 0.5 to 5"),
      opt_text("label").means("text over the line's right end; None for none")},
     Borrow::exclusive, level_body},
};

}  // namespace

PaneTarget pane_target(const Converted& given, const qc::api::ChartConfig& config, bool fresh_allowed,
                       std::string_view use) {
  if (const auto* name = std::get_if<std::string>(&given)) {
    if (*name == "price") return PaneTarget::main();
    if (*name == "new" && fresh_allowed) return PaneTarget::fresh();
    if (*name == "new") raise_value_error("pane", "'new' is no pane for " + std::string(use) + ": give a pane the chart has");
    raise_value_error("pane", "'" + *name + "' is not 'price', 'new' or a pane number");
  }
  const std::int64_t index = std::get<std::int64_t>(given);
  if (const std::optional<PaneTarget> pane = qc::api::pane_at(config, index)) return *pane;
  const std::size_t n = qc::api::sub_pane_count(config);
  raise_value_error("pane", std::to_string(index) + " but the chart has " + std::to_string(n) +
                                (n == 1 ? " sub-pane" : " sub-panes"));
}

PyObject* overlay_body(ChartCall& c) {
  // name, values, color, *, pane, style, width, colors, levels, range, height
  const std::string& style_name = c.args.text(4);
  const std::optional<qc::api::SeriesStyle> style = qc::api::series_style(style_name);
  if (!style) raise_value_error("style", "'" + style_name + "' is not one of " + quoted_list(qc::api::kSeriesStyleNames));
  qc::api::SeriesLooks looks;
  looks.style = *style;
  looks.width = c.args.f64(5);
  check_width(looks.width);
  if (auto pair = color_pair(c.args.color_list(6), "(up, down)")) {
    if (*style != qc::api::SeriesStyle::histogram) raise_value_error("colors", "only a histogram takes colours");
    looks.up_color = std::move(pair->first);
    looks.down_color = std::move(pair->second);
  }
  looks.levels = std::move(c.args.f64_list(7));
  for (const double level : looks.levels) {
    if (!std::isfinite(level)) raise_value_error("levels", number_text(level) + " is not finite");
  }
  const std::vector<double>& range = c.args.f64_list(8);
  if (!range.empty() && !(std::isfinite(range[0]) && std::isfinite(range[1]) && range[0] < range[1])) {
    raise_value_error("range", "expected lo < hi, both finite, got (" + number_text(range[0]) + ", " +
                                   number_text(range[1]) + ")");
  }
  if (!range.empty()) looks.range = qc::api::ValueRange{range[0], range[1]};
  looks.height = c.args.opt_f64(9);
  const qc::api::Chart& chart = chart_of(c);
  const PaneTarget pane = pane_target(c.args.slot(3), chart.config, true);
  if (pane.kind != PaneTarget::Kind::fresh && looks.range) raise_value_error("range", "only a 'new' pane takes a range");
  if (pane.kind != PaneTarget::Kind::fresh && looks.height) raise_value_error("height", "only a 'new' pane takes a height");
  qc::model::Values values = bar_values(c.args.object(1), chart, "values");
  // A histogram without colours takes the one colour given for both, or none: then the chart's up and down
  // colours when drawn.
  std::optional<std::string>& color = c.args.opt_text(2);
  const bool given = color || !looks.up_color.empty();
  if (*style != qc::api::SeriesStyle::histogram) {
    looks.color = color_or_next(color, chart.config);
  } else if (color && looks.up_color.empty()) {
    looks.up_color = looks.down_color = std::move(*color);
  }
  append_user_record(c, qc::api::user_series(c.args.text(0), std::move(values), pane, looks), given);
  return none();
}

MethodGroup chart_user_series_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
