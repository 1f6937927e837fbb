// Chart methods for the series style, colours, themes, grid, price scale, title, legend, time zone,
// device-pixel ratio, bars and rendering.
#include <array>
#include <optional>
#include <string>
#include <utility>

#include "api/chart_renderer.hpp"
#include "api/value_rules.hpp"
#include "chart.hpp"
#include "columns.hpp"
#include "dates.hpp"
#include "str_storage.hpp"
#include "theme.hpp"
#include "zone_file.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::api::Chart;
using qc::api::SeriesType;

// A fresh series record of the row's type: a series colour set before is cleared too.
PyObject* set_series(ChartCall& c) {
  set_bar_style(c, qc::api::SeriesConfig{c.data<SeriesType>(), std::nullopt, std::nullopt, {}});
  return none();
}

// An on/off setting of the chart, reached through the row's accessor.
using Switch = bool& (*)(qc::api::ChartConfig&);

PyObject* set_switch(ChartCall& c) {
  const Switch field = c.data<Switch>();
  with_chart(c, [&](Chart&& chart) {
    field(chart.config) = c.args.flag(0);
    return std::move(chart);
  });
  return none();
}

constexpr Switch kGrid = [](qc::api::ChartConfig& config) -> bool& { return config.theme.show_grid; };
constexpr Switch kLegend = [](qc::api::ChartConfig& config) -> bool& { return config.show_legend; };
constexpr Switch kLastPrice = [](qc::api::ChartConfig& config) -> bool& { return config.show_last_price; };

PyObject* apply_theme(ChartCall& c) {
  const qc::api::ThemeColors& colors = c.data<qc::api::ThemeColors>();
  with_chart(c, [&](Chart&& chart) { return std::move(chart).theme(colors); });
  return none();
}

// A theme object's colours for the chart, each with the name its class gives it: background, grid, text,
// up and down.
struct ThemeField {
  const char* name;
  std::string text;
};
using ThemeFields = std::array<ThemeField, 5>;

// UITheme and RuntimeTheme name their fields alike.
template <class Theme>
ThemeFields ui_theme_fields(const Theme& t) {
  return {{{"background", std::string(t.chart.background)},
           {"grid_line", std::string(t.chart.grid_line)},
           {"scale_text", std::string(t.chart.scale_text)},
           {"candle_up_body", std::string(t.series.candle_up_body)},
           {"candle_down_body", std::string(t.series.candle_down_body)}}};
}

ThemeFields legacy_theme_fields(const qc::theme::LegacyTheme& t) {
  return {{{"bg_color", std::string(t.bg_color)},
           {"grid_color", std::string(t.grid_color)},
           {"text_color", std::string(t.text_color)},
           {"candle_up", std::string(t.candle_up)},
           {"candle_down", std::string(t.candle_down)}}};
}

template <class Cls, class Read>
std::optional<ThemeFields> fields_of(PyObject* o, Read read) {
  if (!PyObject_TypeCheck(o, type_object<Cls>())) return std::nullopt;
  BorrowGuard guard = borrow<Cls>(o, Borrow::shared);
  return read(object_of<Cls>(o)->value);
}

// The theme's colours are read as the colour methods read them, all before the chart changes.
PyObject* apply_theme_object(ChartCall& c) {
  PyObject* t = c.args.object(0);
  std::optional<ThemeFields> fields = fields_of<UIThemeClass>(t, ui_theme_fields<qc::theme::UITheme>);
  if (!fields) fields = fields_of<RuntimeThemeClass>(t, ui_theme_fields<qc::theme::RuntimeTheme>);
  if (!fields) fields = fields_of<ThemeClass>(t, legacy_theme_fields);
  if (!fields) throw Panic("a theme argument of no theme class");
  std::array<std::string, 5> colors;
  for (std::size_t i = 0; i < colors.size(); ++i) {
    const ThemeField& field = (*fields)[i];
    std::optional<std::string> color = qc::api::color_text(field.text);
    if (!color) {
      Ref given = Ref::steal(
          PyUnicode_DecodeUTF8(field.text.data(), static_cast<Py_ssize_t>(field.text.size()), "replace"));
      PyErr_Format(PyExc_ValueError, "argument '%s': field '%s' is not a colour: %R", c.params()[0].name,
                   field.name, given.get());
      throw PyErrorPending{};
    }
    colors[i] = std::move(*color);
  }
  const qc::api::ThemeColors theme{colors[0], colors[3], colors[4], colors[1], colors[2]};
  with_chart(c, [&](Chart&& chart) { return std::move(chart).theme(theme); });
  return none();
}

// The chart's text colour (scales, title, legend) or grid colour (also the scales' borders and the panes'
// separators).
PyObject* set_theme_text(ChartCall& c) {
  std::string qc::api::ThemeConfig::*const field = c.data<std::string qc::api::ThemeConfig::*>();
  with_chart(c, [&](Chart&& chart) {
    chart.config.theme.*field = std::move(c.args.text(0));
    return std::move(chart);
  });
  return none();
}
constexpr std::string qc::api::ThemeConfig::*kTextColor = &qc::api::ThemeConfig::text_color;
constexpr std::string qc::api::ThemeConfig::*kGridColor = &qc::api::ThemeConfig::grid_color;

// The document, with the crosshair of a pointer given as the row's first argument.
PyObject* render(ChartCall& c) {
  const std::optional<Chart>& chart = c.value();
  if (!chart) return to_py(std::string_view());
  std::optional<qc::api::Pointer> pointer;
  if (c.params().size() > 0) {
    if (const std::optional<Point> at = c.args.opt_point(0)) pointer = qc::api::Pointer{at->bar, at->price};
  }
  StrStorage storage;
  return storage.finish(qc::api::ChartRenderer(*chart, pointer).render_into(storage));
}

constexpr SeriesType kCandlesticks = SeriesType::Candlesticks;
constexpr SeriesType kLine = SeriesType::Line;
constexpr SeriesType kArea = SeriesType::Area;
constexpr SeriesType kOhlcBars = SeriesType::OhlcBars;
constexpr SeriesType kHeikinAshi = SeriesType::HeikinAshi;
constexpr SeriesType kHollowCandles = SeriesType::HollowCandles;
constexpr SeriesType kColumns = SeriesType::Columns;
constexpr SeriesType kHighLow = SeriesType::HighLow;
constexpr SeriesType kStepLine = SeriesType::StepLine;

constexpr ChartRow kRows[] = {
    {"candlesticks", "Candlestick chart (default)", {}, Borrow::exclusive, set_series, &kCandlesticks},
    {"line", "Line chart (close prices)", {}, Borrow::exclusive, set_series, &kLine},
    {"area", "Area chart (filled)", {}, Borrow::exclusive, set_series, &kArea},
    {"ohlc_bars", "OHLC bar chart", {}, Borrow::exclusive, set_series, &kOhlcBars},
    {"heikin_ashi", "Heikin-Ashi candle chart", {}, Borrow::exclusive, set_series, &kHeikinAshi},
    {"hollow_candles",
     "Hollow candle chart: hollow bodies where the close is at or above the open, filled below it, each candle in "
     "the up colour when it closes at or above the previous close, else the down colour",
     {}, Borrow::exclusive, set_series, &kHollowCandles},
    {"columns", "Column chart: a bar from the pane's bottom to each close, coloured by the close against the previous",
     {}, Borrow::exclusive, set_series, &kColumns},
    {"baseline",
     "Baseline chart: the close line filled to a level, in the up colour above it and the down colour below",
     {opt_finite("value").means("the level; None: the first close drawn")}, Borrow::exclusive,
     [](ChartCall& c) {
       set_bar_style(c, qc::api::SeriesConfig{SeriesType::Baseline, std::nullopt, c.args.opt_f64(0), {}});
       return none();
     }},
    {"high_low", "High-low chart: a bar from each low to its high, coloured as OHLC bars are", {}, Borrow::exclusive,
     set_series, &kHighLow},
    {"step_line", "Step line chart: the closes joined by horizontal then vertical steps", {}, Borrow::exclusive,
     set_series, &kStepLine},
    {"colors", "Set up/down colors", {color("up"), color("down")}, Borrow::exclusive,
     [](ChartCall& c) {
       with_chart(c, [&](Chart&& chart) { return std::move(chart).colors(c.args.text(0), c.args.text(1)); });
       return none();
     }},
    {"background", "Set background color", {color("color").means("the background colour, a CSS colour text")},
     Borrow::exclusive,
     [](ChartCall& c) {
       with_chart(c, [&](Chart&& chart) { return std::move(chart).background(c.args.text(0)); });
       return none();
     }},
    {"grid", "Enable/disable grid", {flag("show", "True")}, Borrow::exclusive, set_switch, &kGrid},
    {"title", "Set the chart title (an empty text removes it)", {text("text")}, Borrow::exclusive,
     [](ChartCall& c) {
       with_chart(c, [&](Chart&& chart) {
         chart.config.title = std::move(c.args.text(0));
         return std::move(chart);
       });
       return none();
     }},
    {"legend", "Show/hide the legend of indicators with their last values", {flag("show", "True")}, Borrow::exclusive,
     set_switch, &kLegend},
    {"time_zone",
     "Set the time zone (a zoneinfo name such as \"America/New_York\"; \"UTC\" by default) in which the time "
     "axis and the studies called afterwards read calendar time",
     {text("name").means("a zoneinfo key such as \"America/New_York\", or \"UTC\"")}, Borrow::exclusive,
     [](ChartCall& c) {
       std::string tzif;
       qc::coords::TimeZone zone = load_time_zone(c.args.text(0), tzif);
       with_chart(c, [&](Chart&& chart) {
         chart.config.time_zone = std::move(zone);
         chart.config.time_zone_name = std::move(c.args.text(0));
         chart.config.time_zone_tzif = std::move(tzif);
         return std::move(chart);
       });
       return none();
     }},
    {"log_scale", "Map the price pane by the logarithm of prices (when they are all above zero)", {flag("on", "True")},
     Borrow::exclusive,
     [](ChartCall& c) {
       // The price scale has one mode: off is the plain price scale, whatever the mode was.
       const bool on = c.args.flag(0);
       with_chart(c, [&](Chart&& chart) {
         chart.config.price_scale = on ? qc::api::PriceScaleMode::log : qc::api::PriceScaleMode::price;
         return std::move(chart);
       });
       return none();
     }},
    {"last_price", "Show/hide the last close as a dotted line and a tag on the price scale", {flag("show", "True")},
     Borrow::exclusive, set_switch, &kLastPrice},
    {"detail",
     "Draw the bars that share a device-pixel column as the marks the column can show: one candle, volume bar "
     "or pair of histogram bars per column and each line's first, lowest, highest and last point (\"auto\", the "
     "default, when the bars drawn outnumber the columns), or every bar on its own (\"full\")",
     {text("mode").means("\"auto\" or \"full\"")}, Borrow::exclusive,
     [](ChartCall& c) {
       const std::string& mode = c.args.text(0);
       if (mode != "auto" && mode != "full") {
         Ref given = Ref::steal(PyUnicode_FromStringAndSize(mode.data(), static_cast<Py_ssize_t>(mode.size())));
         PyErr_Format(PyExc_ValueError, "argument 'mode': %R is not one of 'auto', 'full'", given.get());
         throw PyErrorPending{};
       }
       with_chart(c, [&](Chart&& chart) {
         chart.config.detail = mode == "auto" ? qc::api::Detail::automatic : qc::api::Detail::full;
         return std::move(chart);
       });
       return none();
     }},
    {"view",
     "Draw only bars first..last (inclusive; negative indices count from the end, so view(-126, -1) draws the "
     "last 126 bars); the indices are resolved at each render, dates at the call, and studies still cover all "
     "bars",
     {first_bar("first").means("the first bar drawn: its index (-1 for the last), or a date (the first bar at or "
                                "after it)"),
      last_bar("last").means("the last bar drawn: its index (-1 for the last), or a date (the last bar at or before "
                              "it)")},
     Borrow::exclusive,
     [](ChartCall& c) {
       const qc::api::ViewRequest request{c.args.i64(0), c.args.i64(1)};
       const std::optional<Chart>& held = c.value();
       const std::size_t n = held ? held->bars.size() : 0;
       if (const qc::api::ViewFault fault = n > 0 ? qc::api::view_fault(request, n) : qc::api::ViewFault::none;
           fault != qc::api::ViewFault::none) {
         const qc::api::ViewRefusal refusal = qc::api::view_refusal(request, n, fault);
         if (!refusal.argument.empty()) value_error(std::string(refusal.argument).c_str(), refusal.text);
         const std::string both = "view(" + std::to_string(request.first) + ", " + std::to_string(request.last) + ") ";
         PyErr_SetString(PyExc_ValueError, (both + refusal.text).c_str());
         throw PyErrorPending{};
       }
       with_chart(c, [&](Chart&& chart) {
         chart.config.view = request;
         return std::move(chart);
       });
       return none();
     }},
    {"dark_theme", "Apply dark theme", {}, Borrow::exclusive, apply_theme, &qc::api::kDarkTheme},
    {"light_theme", "Apply light theme", {}, Borrow::exclusive, apply_theme, &qc::api::kLightTheme},
    {"theme",
     "Apply a theme's background, grid, text, up and down colours (a Theme, UITheme or RuntimeTheme, copied now)",
     {theme("t")}, Borrow::exclusive, apply_theme_object},
    {"text_color", "Set the text colour of the scales, title and legend", {color("color")}, Borrow::exclusive,
     set_theme_text, &kTextColor},
    {"grid_color", "Set the grid colour (also the scales' borders and the panes' separators)", {color("color")},
     Borrow::exclusive, set_theme_text, &kGridColor},
    {"dpr", "Set device pixel ratio for high-DPI displays", {f64("dpr")}, Borrow::exclusive,
     [](ChartCall& c) {
       with_chart(c, [&](Chart&& chart) {
         chart.config.dpr = c.args.f64(0);
         return std::move(chart);
       });
       return none();
     }},
    {"bars", "Set OHLCV bar data", {bar_list("bars")}, Borrow::exclusive,
     [](ChartCall& c) {
       set_user_bars(c, qc::model::BarColumns(c.args.bar_list(0)));
       return none();
     }},
    {"bars_from_columns",
     "Set OHLCV bar data from columns (numpy arrays, pandas columns, array.array, sequences); bar i is made of "
     "item i of each column, volume 0.0 without a volume column; integer timestamps in the unit named "
     "('s', 'ms', 'us' or 'ns'), datetime64 ones in their own",
     kBarColumnParams, Borrow::exclusive,
     [](ChartCall& c) {
       set_user_bars(c, bars_from_columns(c.args, c.params()));
       return none();
     }},
    {"render_svg", "Render chart to SVG string",
     {star, opt_point("pointer").means("where the pointer is, (x, y) in the document's pixels: over the plot, the "
                                       "crosshair and the hovered bar's values are drawn; None: neither")},
     Borrow::shared, render, nullptr, "str"},
    // IPython and Jupyter show a chart that ends a cell as its picture.
    {"_repr_svg_", "The SVG document, for notebook display", {}, Borrow::shared, render, nullptr, "str"},
};

}  // namespace

MethodGroup chart_settings_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
