// Chart methods for PNG, PDF and files (render_png, render_pdf, save, _repr_png_) and the module's
// _png_from_svg. Built without the raster module (QC_RASTER off), PNG and PDF raise RuntimeError.
#include <optional>
#include <string>
#include <string_view>

#include "api/chart_renderer.hpp"
#include "api/layout.hpp"
#include "chart.hpp"
#include "output.hpp"
#include "page.hpp"
#if QC_RASTER
#include "raster/raster.hpp"
#endif

namespace qcpy {
namespace {

using namespace param;

std::string chart_svg(ChartCall& c) {
  const qc::api::Chart& chart = chart_of(c);
  return qc::api::ChartRenderer(chart).render_svg();
}

// The scale given, checked; without one, the chart's device-pixel ratio as its PNG can have it.
double chart_png_scale(ChartCall& c, const std::optional<double>& given) {
  const qc::api::ChartConfig& config = chart_of(c).config;
  return png_scale(given, qc::api::drawable_dpr(config.dpr), config.width, config.height);
}

std::string chart_bytes(ChartCall& c, Format format, double scale) {
  return document_bytes(chart_svg(c), format, scale);
}

PyObject* save(ChartCall& c) {
  const SavePath path = save_path(c.args.object(0));
  const std::optional<double> given = c.args.opt_f64(1);
  std::string content;
  if (path.format == Format::html) {
    content = page_html(chart_of(c));  // a page has no scale
  } else {
    const double scale = chart_png_scale(c, given);
    content = path.format == Format::svg ? chart_svg(c) : chart_bytes(c, path.format, scale);
  }
  write_whole(path, content);
  return none();
}

constexpr ChartRow kRows[] = {
    {"render_png",
     "Render the chart to PNG bytes at `scale` times its size (0.1 to 8): 8-bit RGBA, text in the bundled "
     "DejaVu Sans",
     {opt_f64("scale")}, Borrow::shared,
     [](ChartCall& c) {
       const double scale = chart_png_scale(c, c.args.opt_f64(0));
       return to_bytes(chart_bytes(c, Format::png, scale));
     },
     nullptr, "bytes"},
    {"render_pdf", "Render the chart to a one-page PDF at its size in points, text as text in DejaVu Sans", {},
     Borrow::shared, [](ChartCall& c) { return to_bytes(chart_bytes(c, Format::pdf, 1.0)); }, nullptr, "bytes"},
    {"save",
     "Write the chart to a file by the path's suffix: .svg (the document as UTF-8), .png (at `scale`), .pdf or "
     ".html (the page of to_html); the file is replaced only once it is written whole",
     {path("path"), opt_f64("scale")}, Borrow::shared, save},
    // Beside _repr_svg_: front ends that show no SVG (untrusted notebooks) show this. None when no PNG can
    // be had (too large, or built without cairo), so that IPython shows the SVG alone.
    {"_repr_png_", "The PNG of the chart, for notebook display", {}, Borrow::shared,
     [](ChartCall& c) -> PyObject* {
       const std::optional<std::string> png = display_png(chart_of(c));
       return png ? to_bytes(*png) : none();
     },
     nullptr, "bytes | None"},
};

// _png_from_svg(text, scale): the PNG of any document and what it did not understand.
PyObject* png_from_svg(PyObject*, PyObject* args) {
  return boundary([&]() -> PyObject* {
    const char* text = nullptr;
    Py_ssize_t size = 0;
    double scale = 1.0;
    if (!PyArg_ParseTuple(args, "s#d:_png_from_svg", &text, &size, &scale)) throw PyErrorPending{};
#if QC_RASTER
    png_scale(scale, 1.0, 0.0, 0.0);  // checks the scale
    const std::string_view svg(text, static_cast<std::size_t>(size));
    const qc::raster::Output out = qc::raster::png_from_svg(svg, scale);
    if (out.status != qc::raster::Status::ok) document_bytes(svg, Format::png, scale);  // raises its failure
    Ref list = Ref::steal(PyList_New(static_cast<Py_ssize_t>(out.not_understood.size())));
    for (std::size_t i = 0; i < out.not_understood.size(); ++i) {
      PyList_SET_ITEM(list.get(), static_cast<Py_ssize_t>(i), to_py(std::string_view(out.not_understood[i])));
    }
    Ref bytes = Ref::steal(to_bytes(out.bytes));
    return Ref::steal(PyTuple_Pack(2, bytes.get(), list.get())).release();
#else
    return to_bytes(document_bytes({}, Format::png, scale));
#endif
  });
}

}  // namespace

std::optional<std::string> display_png(const qc::api::Chart& chart) {
  return display_png_of(qc::api::ChartRenderer(chart).render_svg());
}

MethodGroup chart_output_methods() { return method_defs<kRows>(); }

void add_png_from_svg(PyObject* module) {
  static PyMethodDef def = {
      "_png_from_svg", png_from_svg, METH_VARARGS,
      "_png_from_svg(text, scale, /)\n--\n\nThe PNG of an SVG document at `scale`, and a sorted list of what "
      "it did not understand (\"element\" or \"element@attribute\")."};
  Ref name = Ref::steal(PyModule_GetNameObject(module));
  Ref fn = Ref::steal(PyCFunction_NewEx(&def, module, name.get()));
  if (PyObject_SetAttrString(module, def.ml_name, fn.get()) < 0) throw PyErrorPending{};
}

}  // namespace qcpy
