// The Python class Figure: its constructor, its documents and files, and its state for pickling.
#include "figure.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "api/chart_json.hpp"
#include "api/layout.hpp"
#include "chart.hpp"
#include "output.hpp"
#include "page.hpp"
#include "pickle.hpp"
#include "str_storage.hpp"

namespace qcpy {
namespace {

using namespace param;

void check_layout(std::uint32_t cols, double gap) {
  if (cols < 1) raise(PyExc_ValueError, "cols must be at least 1");
  if (!(gap >= 0.0 && gap <= qc::api::kMaxFigureGap)) {
    raise(PyExc_ValueError, "gap must be between 0 and 200, not " + number_text(gap));
  }
}

constexpr Constructor<FigureClass> kNew{
    {object("charts").means("the charts, a sequence of Chart, laid out in this order"), star,
     Param{"cols", Kind::u32, "1"}.means("charts per row, at least 1"),
     f64("gap", "8").means("pixels between cells, 0 to 200"),
     opt_text("title").means("the figure's title, drawn in a 28-pixel band on top; None: no band"),
     flag("share_time", "False").means("draw every other chart at the bars whose times fall in the first chart's "
                                       "view, so that the time axes line up by instant")},
    [](Args& a) -> FigureClass::Value {
      check_layout(a.u32(1), a.f64(2));
      std::optional<std::string>& title = a.opt_text(3);
      constexpr ItemsRule kCharts{"charts", "Chart", "a Chart", "a Figure needs at least one chart",
                                  [](PyObject* o) { return PyObject_TypeCheck(o, type_object<ChartClass>()) != 0; }};
      return {items_of(a.object(0), kCharts), a.u32(1), a.f64(2), title ? std::move(*title) : std::string(), a.flag(4)};
    },
};

std::string figure_svg(const FigureValue& figure) {
  const ReadCharts read(figure);
  return qc::api::render_figure(read.charts(), figure.settings());
}

PyObject* render(FigureCall& c) {
  const ReadCharts read(c.value());
  StrStorage storage;
  return storage.finish(qc::api::render_figure_into(storage, read.charts(), c.value().settings()));
}

// The scale given, checked; without one, the largest of the charts' device-pixel ratios as the PNG can have it.
double figure_png_scale(const FigureValue& figure, const std::optional<double>& given) {
  const ReadCharts read(figure);
  double dpr = 0.0;
  for (const qc::api::Chart* chart : read.charts()) dpr = std::max(dpr, qc::api::drawable_dpr(chart->config.dpr));
  const qc::api::FigureLayout layout = qc::api::layout_figure(read.charts(), figure.settings());
  return png_scale(given, dpr, layout.width, layout.height);
}

PyObject* save(FigureCall& c) {
  const SavePath path = save_path(c.args.object(0));
  const FigureValue& figure = c.value();
  if (path.format == Format::html) {
    const ReadCharts read(figure);
    write_whole(path, figure_page_html(read.charts(), figure.settings()));
    return none();
  }
  const double scale = figure_png_scale(figure, c.args.opt_f64(1));
  const std::string svg = figure_svg(figure);
  write_whole(path, path.format == Format::svg ? svg : document_bytes(svg, path.format, scale));
  return none();
}

constexpr MethodRow<FigureClass> kRows[] = {
    {"render_svg", "Render the figure to one SVG document, each chart's own document nested at its cell", {},
     Borrow::shared, render, nullptr, "str"},
    {"_repr_svg_", "The SVG document, for notebook display", {}, Borrow::shared, render, nullptr, "str"},
    {"render_png",
     "Render the figure to PNG bytes at `scale` times its size (0.1 to 8; None: the largest of the charts' dpr)",
     {opt_f64("scale")}, Borrow::shared,
     [](FigureCall& c) {
       const double scale = figure_png_scale(c.value(), c.args.opt_f64(0));
       return to_bytes(document_bytes(figure_svg(c.value()), Format::png, scale));
     },
     nullptr, "bytes"},
    {"render_pdf", "Render the figure to a one-page PDF at its size in points, text as text in DejaVu Sans", {},
     Borrow::shared, [](FigureCall& c) { return to_bytes(document_bytes(figure_svg(c.value()), Format::pdf, 1.0)); },
     nullptr, "bytes"},
    {"save",
     "Write the figure to a file by the path's suffix: .svg, .png (at `scale`), .pdf or .html; the file is "
     "replaced only once it is written whole",
     {path("path"), opt_f64("scale")}, Borrow::shared, save},
    {"to_html",
     "The figure as one self-contained HTML page: each chart's JSON, one chart of the core per chart (zoom, pan "
     "and hover each; sharing time, zooming or panning any chart moves all and the crosshair stands on every "
     "chart at the pointer's instant); it requests nothing",
     {}, Borrow::shared,
     [](FigureCall& c) {
       const ReadCharts read(c.value());
       return to_py(figure_page_html(read.charts(), c.value().settings()));
     },
     nullptr, "str"},
    {"interactive", "The figure's HTML page for a notebook to show in a frame (see to_html)", {}, Borrow::shared,
     [](FigureCall& c) {
       const FigureValue& figure = c.value();
       const ReadCharts read(figure);
       const qc::api::FigureLayout layout = qc::api::layout_figure(read.charts(), figure.settings());
       std::string page = figure_page_html(read.charts(), figure.settings());
       const std::size_t bytes = page.size();
       return interactive_page(std::move(page), bytes, layout.width, layout.height,
                               [&] { return display_png_of(figure_svg(figure)); });
     },
     nullptr, "InteractiveChart"},
    {"_repr_png_", "The PNG of the figure, for notebook display", {}, Borrow::shared,
     [](FigureCall& c) -> PyObject* {
       const std::optional<std::string> png = display_png_of(figure_svg(c.value()));
       return png ? to_bytes(*png) : none();
     },
     nullptr, "bytes | None"},
};

// ---- state -------------------------------------------------------------------------------------------

constexpr std::string_view kStateTag = "quorvel-figure 1\n";

void append_field(std::string& out, std::string_view text) {
  out += std::to_string(text.size());
  out += '\n';
  out += text;
}

// Reads what append_field wrote; false when the state ends or breaks off.
bool read_field(std::string_view& in, std::string_view& field) {
  const std::size_t nl = in.find('\n');
  if (nl == std::string_view::npos) return false;
  std::size_t n = 0;
  const auto [end, ec] = std::from_chars(in.data(), in.data() + nl, n);
  if (ec != std::errc() || end != in.data() + nl || n > in.size() - nl - 1) return false;
  field = in.substr(nl + 1, n);
  in.remove_prefix(nl + 1 + n);
  return true;
}

[[noreturn]] void bad_state() { raise(PyExc_ValueError, "the bytes are not a Figure's state"); }

}  // namespace

std::vector<Ref> items_of(PyObject* sequence, const ItemsRule& rule) {
  if (PyUnicode_Check(sequence) || !PySequence_Check(sequence) || rule.accepts(sequence)) {
    raise(PyExc_TypeError, std::string(rule.name) + " must be a sequence of " + rule.plural + ", not " +
                               type_name(sequence));
  }
  Ref items = Ref::steal(PySequence_Fast(sequence, rule.name));
  const Py_ssize_t n = PySequence_Fast_GET_SIZE(items.get());
  if (n == 0) raise(PyExc_ValueError, rule.empty);
  std::vector<Ref> out;
  out.reserve(static_cast<std::size_t>(n));
  for (Py_ssize_t i = 0; i < n; ++i) {
    PyObject* item = PySequence_Fast_GET_ITEM(items.get(), i);
    if (!rule.accepts(item)) {
      raise(PyExc_TypeError,
            std::string(rule.name) + "[" + std::to_string(i) + "] must be " + rule.one + ", not " + type_name(item));
    }
    out.push_back(Ref::borrow(item));
  }
  return out;
}

ReadChart read_chart(PyObject* chart) {
  BorrowGuard guard = borrow<ChartClass>(chart, Borrow::shared);
  const std::optional<qc::api::Chart>& value = object_of<ChartClass>(chart)->value;
  if (!value) throw Panic("Chart already consumed");
  return {std::move(guard), &*value};
}

ReadCharts::ReadCharts(const FigureValue& figure) {
  guards_.reserve(figure.charts.size());
  charts_.reserve(figure.charts.size());
  for (const Ref& chart : figure.charts) {
    ReadChart read = read_chart(chart.get());
    guards_.push_back(std::move(read.guard));
    charts_.push_back(read.chart);
  }
}

std::string FigureClass::state(const Value& v) {
  const ReadCharts read(v);
  std::string out(kStateTag);
  append_field(out, std::to_string(v.cols));
  append_field(out, number_text(v.gap));
  append_field(out, v.share_time ? "1" : "0");
  append_field(out, v.title);
  append_field(out, std::to_string(read.charts().size()));
  for (const qc::api::Chart* chart : read.charts()) append_field(out, qc::api::chart_to_json(*chart));
  return out;
}

FigureClass::Value FigureClass::from_state(std::string_view state) {
  if (!state.starts_with(kStateTag)) bad_state();
  state.remove_prefix(kStateTag.size());
  std::string_view cols, gap, share, title, count;
  if (!read_field(state, cols) || !read_field(state, gap) || !read_field(state, share) || !read_field(state, title) ||
      !read_field(state, count)) {
    bad_state();
  }
  Value v;
  std::size_t n = 0;
  if (std::from_chars(cols.data(), cols.data() + cols.size(), v.cols).ec != std::errc() ||
      std::from_chars(gap.data(), gap.data() + gap.size(), v.gap).ec != std::errc() ||
      std::from_chars(count.data(), count.data() + count.size(), n).ec != std::errc() || n == 0) {
    bad_state();
  }
  check_layout(v.cols, v.gap);
  v.share_time = share == "1";
  v.title = title;
  for (std::size_t i = 0; i < n; ++i) {
    std::string_view json;
    if (!read_field(state, json)) bad_state();
    v.charts.push_back(Ref::steal(new_object<ChartClass>(ChartClass::from_state(json))));
  }
  return v;
}

ClassSpec FigureClass::spec() {
  ClassSpec s = class_spec<FigureClass>();
  set_constructor<kNew>(s);
  s.methods = {method_defs<kRows>(), pickle_methods<FigureClass>()};
  return s;
}

}  // namespace qcpy
