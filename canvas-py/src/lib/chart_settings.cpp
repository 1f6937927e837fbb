// Chart methods for the series style, colours, grid, device-pixel ratio, bars and rendering.
#include "api/chart_renderer.hpp"
#include "chart.hpp"

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

// The two preset themes differ only in their background; grid and text colours keep their values.
PyObject* apply_theme(ChartCall& c) {
  const char* background = c.data<const char*>();
  with_chart(c, [&](Chart&& chart) { return std::move(chart).background(background).colors("#26a69a", "#ef5350"); });
  return none();
}

// The document goes into the str in one copy when it is ASCII (the usual case), else through the
// interpreter's UTF-8 decoder.
PyObject* document_to_py(const qc::api::SvgDocument& doc) {
  const auto size = static_cast<Py_ssize_t>(doc.size());
  if (doc.is_ascii()) {
    Ref text = Ref::steal(PyUnicode_New(size, 127));
    doc.copy_to(reinterpret_cast<char*>(PyUnicode_1BYTE_DATA(text.get())));
    return text.release();
  }
  const std::string joined = doc.text();
  return Ref::steal(PyUnicode_DecodeUTF8(joined.data(), size, "strict")).release();
}

constexpr SeriesType kCandlesticks = SeriesType::Candlesticks;
constexpr SeriesType kLine = SeriesType::Line;
constexpr SeriesType kArea = SeriesType::Area;
constexpr const char* kDarkBackground = "#131722";
constexpr const char* kLightBackground = "#ffffff";

constexpr ChartRow kRows[] = {
    {"candlesticks", "Candlestick chart (default)", {}, Borrow::exclusive, set_series, &kCandlesticks},
    {"line", "Line chart (close prices)", {}, Borrow::exclusive, set_series, &kLine},
    {"area", "Area chart (filled)", {}, Borrow::exclusive, set_series, &kArea},
    {"colors", "Set up/down colors", {text("up"), text("down")}, Borrow::exclusive,
     [](ChartCall& c) {
       with_chart(c, [&](Chart&& chart) { return std::move(chart).colors(c.args.text(0), c.args.text(1)); });
       return none();
     }},
    {"background", "Set background color", {text("color")}, Borrow::exclusive,
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
    {"dark_theme", "Apply dark theme", {}, Borrow::exclusive, apply_theme, &kDarkBackground},
    {"light_theme", "Apply light theme", {}, Borrow::exclusive, apply_theme, &kLightBackground},
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
         chart.bars = std::move(c.args.bar_list(0));
         return std::move(chart);
       });
       return none();
     }},
    {"render_svg", "Render chart to SVG string", {}, Borrow::shared,
     [](ChartCall& c) -> PyObject* {
       const std::optional<Chart>& chart = c.value();
       if (!chart) return to_py(std::string_view());
       return document_to_py(qc::api::ChartRenderer(chart->config, chart->bars).render_document());
     }},
};

}  // namespace

std::span<const PyMethodDef> chart_settings_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
