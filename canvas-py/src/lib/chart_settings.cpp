// Chart methods for the series style, colours, grid, title, legend, device-pixel ratio, bars and rendering.
#include <utility>

#include "api/chart_renderer.hpp"
#include "chart.hpp"
#include "columns.hpp"
#include "zone_file.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::api::Chart;
using qc::api::SeriesType;

// A fresh series record of the row's type: a series colour set before is cleared too.
PyObject* set_series(ChartCall& c) {
  const SeriesType type = c.data<SeriesType>();
  with_chart(c, [&](Chart&& chart) {
    chart.config.series = qc::api::SeriesConfig{type, std::nullopt};
    return std::move(chart);
  });
  return none();
}

PyObject* apply_theme(ChartCall& c) {
  const qc::api::ThemeColors& colors = c.data<qc::api::ThemeColors>();
  with_chart(c, [&](Chart&& chart) { return std::move(chart).theme(colors); });
  return none();
}

// The document is written straight into the str that returns it: a fresh ASCII str of the estimated size,
// grown if that falls short and shrunk to the document at the end. A document that holds other bytes (a
// caller's text) goes through the interpreter's UTF-8 decoder instead.
class StrStorage final : public qc::util::TextStorage {
 public:
  StrStorage() = default;
  StrStorage(const StrStorage&) = delete;
  StrStorage& operator=(const StrStorage&) = delete;
  ~StrStorage() { Py_XDECREF(str_); }

  // A refusal leaves no exception pending: the renderer may ask again for less, and one it cannot recover
  // from reaches the boundary as std::bad_alloc, which raises MemoryError there.
  char* grow(std::size_t, std::size_t capacity) override {
    const auto n = static_cast<Py_ssize_t>(capacity);
    const bool had = str_ == nullptr ? (str_ = PyUnicode_New(n, 127)) != nullptr : PyUnicode_Resize(&str_, n) == 0;
    if (!had) {
      PyErr_Clear();
      return nullptr;  // the str, if there is one, is left as it was
    }
    return reinterpret_cast<char*>(PyUnicode_1BYTE_DATA(str_));
  }

  PyObject* finish(const qc::api::DocumentInfo& doc) {
    const auto size = static_cast<Py_ssize_t>(doc.size);
    if (!doc.ascii) {
      return PyUnicode_DecodeUTF8(reinterpret_cast<const char*>(PyUnicode_1BYTE_DATA(str_)), size, "strict");
    }
    if (PyUnicode_Resize(&str_, size) < 0) return nullptr;
    return std::exchange(str_, nullptr);
  }

 private:
  PyObject* str_ = nullptr;
};

PyObject* render(ChartCall& c) {
  const std::optional<Chart>& chart = c.value();
  if (!chart) return to_py(std::string_view());
  StrStorage storage;
  return storage.finish(qc::api::ChartRenderer(chart->config, chart->bars).render_into(storage));
}

constexpr SeriesType kCandlesticks = SeriesType::Candlesticks;
constexpr SeriesType kLine = SeriesType::Line;
constexpr SeriesType kArea = SeriesType::Area;
constexpr SeriesType kOhlcBars = SeriesType::OhlcBars;
constexpr SeriesType kHeikinAshi = SeriesType::HeikinAshi;

constexpr ChartRow kRows[] = {
    {"candlesticks", "Candlestick chart (default)", {}, Borrow::exclusive, set_series, &kCandlesticks},
    {"line", "Line chart (close prices)", {}, Borrow::exclusive, set_series, &kLine},
    {"area", "Area chart (filled)", {}, Borrow::exclusive, set_series, &kArea},
    {"ohlc_bars", "OHLC bar chart", {}, Borrow::exclusive, set_series, &kOhlcBars},
    {"heikin_ashi", "Heikin-Ashi candle chart", {}, Borrow::exclusive, set_series, &kHeikinAshi},
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
    {"grid", "Enable/disable grid", {flag("show")}, Borrow::exclusive,
     [](ChartCall& c) {
       with_chart(c, [&](Chart&& chart) {
         chart.config.theme.show_grid = c.args.flag(0);
         return std::move(chart);
       });
       return none();
     }},
    {"title", "Set the chart title (an empty text removes it)", {text("text")}, Borrow::exclusive,
     [](ChartCall& c) {
       with_chart(c, [&](Chart&& chart) {
         chart.config.title = std::move(c.args.text(0));
         return std::move(chart);
       });
       return none();
     }},
    {"legend", "Show/hide the legend of indicators with their last values", {flag("show")}, Borrow::exclusive,
     [](ChartCall& c) {
       with_chart(c, [&](Chart&& chart) {
         chart.config.show_legend = c.args.flag(0);
         return std::move(chart);
       });
       return none();
     }},
    {"time_zone",
     "Set the time zone (a zoneinfo name such as \"America/New_York\"; \"UTC\" by default) in which the time "
     "axis and the studies called afterwards read calendar time",
     {text("name").means("a zoneinfo key such as \"America/New_York\", or \"UTC\"")}, Borrow::exclusive,
     [](ChartCall& c) {
       qc::coords::TimeZone zone = load_time_zone(c.args.text(0));
       with_chart(c, [&](Chart&& chart) {
         chart.config.time_zone = std::move(zone);
         return std::move(chart);
       });
       return none();
     }},
    {"dark_theme", "Apply dark theme", {}, Borrow::exclusive, apply_theme, &qc::api::kDarkTheme},
    {"light_theme", "Apply light theme", {}, Borrow::exclusive, apply_theme, &qc::api::kLightTheme},
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
       with_chart(c, [&](Chart&& chart) {
         chart.bars = qc::model::BarColumns(c.args.bar_list(0));
         return std::move(chart);
       });
       return none();
     }},
    {"bars_from_columns",
     "Set OHLCV bar data from columns (numpy arrays, pandas columns, array.array, sequences); bar i is made of "
     "item i of each column, volume 0.0 without a volume column; integer timestamps in the unit named "
     "('s', 'ms', 'us' or 'ns'), datetime64 ones in their own",
     {time_column("timestamps"), number_column("open"), number_column("high"), number_column("low"),
      number_column("close"), opt_number_column("volume"), time_unit("unit")},
     Borrow::exclusive,
     [](ChartCall& c) {
       qc::model::BarColumns bars = bars_from_columns(c.args, c.params());
       with_chart(c, [&](Chart&& chart) {
         std::swap(chart.bars, bars);
         return std::move(chart);
       });
       return none();
     }},
    {"render_svg", "Render chart to SVG string", {}, Borrow::shared, render, nullptr, "str"},
    // IPython and Jupyter show a chart that ends a cell as its picture.
    {"_repr_svg_", "The SVG document, for notebook display", {}, Borrow::shared, render, nullptr, "str"},
};

}  // namespace

MethodGroup chart_settings_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
