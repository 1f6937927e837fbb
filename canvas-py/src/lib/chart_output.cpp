// Chart methods for PNG, PDF and files (render_png, render_pdf, save, _repr_png_) and the module's
// _png_from_svg. Built without the raster module (QC_RASTER off), PNG and PDF raise RuntimeError.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "api/chart_renderer.hpp"
#include "api/layout.hpp"
#include "chart.hpp"
#include "page.hpp"
#include "raster/limits.hpp"
#if QC_RASTER
#include "raster/raster.hpp"
#endif

namespace qcpy {
namespace {

using namespace param;

enum class Format { svg, png, pdf, html };

[[noreturn]] void raise(PyObject* type, const std::string& message) {
  PyErr_SetString(type, message.c_str());
  throw PyErrorPending{};
}

std::string number_text(double v) {
  char buf[32];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void check_scale(double scale) {
  if (!qc::raster::scale_ok(scale)) {
    raise(PyExc_ValueError, "scale must be between " + number_text(qc::raster::kMinScale) + " and " +
                                number_text(qc::raster::kMaxScale) + ", not " + number_text(scale));
  }
}

std::string chart_svg(ChartCall& c) {
  const qc::api::Chart& chart = chart_of(c);
  return qc::api::ChartRenderer(chart).render_svg();
}

// The scale given, checked; without one, the chart's device-pixel ratio as its PNG can have it.
double png_scale(ChartCall& c, const std::optional<double>& given) {
  if (given) {
    check_scale(*given);
    return *given;
  }
  const qc::api::ChartConfig& config = chart_of(c).config;
  return qc::raster::default_png_scale(qc::api::drawable_dpr(config.dpr), config.width, config.height);
}

// Other threads run while a document is drawn or written; the thread state comes back however this ends.
class WithoutGil {
 public:
  WithoutGil() : state_(PyEval_SaveThread()) {}
  ~WithoutGil() { PyEval_RestoreThread(state_); }
  WithoutGil(const WithoutGil&) = delete;
  WithoutGil& operator=(const WithoutGil&) = delete;

 private:
  PyThreadState* state_;
};

#if QC_RASTER

// The document drawn, whatever came of it, with the interpreter left to other threads meanwhile.
qc::raster::Output draw_unchecked(std::string_view svg, Format format, double scale) {
  WithoutGil unlocked;
  return format == Format::png ? qc::raster::png_from_svg(svg, scale) : qc::raster::pdf_from_svg(svg);
}

// The Python error of a drawing that failed.
void raise_failure(const qc::raster::Output& out, Format format, double scale) {
  using qc::raster::Status;
  switch (out.status) {
    case Status::ok: return;
    case Status::bad_scale: check_scale(scale); return;
    case Status::no_size: raise(PyExc_ValueError, "the document gives no width and height");
    case Status::no_memory: PyErr_NoMemory(); throw PyErrorPending{};
    case Status::cairo_error: raise(PyExc_RuntimeError, std::string("cairo failed to draw the chart: ") + out.error);
    case Status::too_large:
      if (format == Format::png) {
        raise(PyExc_ValueError, "the PNG would be " + number_text(out.width) + " x " + number_text(out.height) +
                                    " pixels: each side must be 1 to " + number_text(qc::raster::kMaxPngSide));
      }
      raise(PyExc_ValueError, "the PDF page would be " + number_text(out.width) + " x " +
                                  number_text(out.height) + " points: each side must be 1 to " +
                                  number_text(qc::raster::kMaxPdfSide));
  }
}

qc::raster::Output draw(std::string_view svg, Format format, double scale) {
  qc::raster::Output out = draw_unchecked(svg, format, scale);
  raise_failure(out, format, scale);
  return out;
}

std::string chart_bytes(ChartCall& c, Format format, double scale) {
  const std::string svg = chart_svg(c);
  return std::move(draw(svg, format, scale).bytes);
}

#else

[[noreturn]] void no_raster() {
  raise(PyExc_RuntimeError,
        "quorvel_canvas was built without cairo (QC_RASTER=OFF), so it writes no PNG or PDF: install "
        "libcairo2-dev, libdeflate-dev and fonts-dejavu-core, then reinstall the module");
}

std::string chart_bytes(ChartCall&, Format, double) { no_raster(); }

#endif

PyObject* to_bytes(std::string_view b) {
  return Ref::steal(PyBytes_FromStringAndSize(b.data(), static_cast<Py_ssize_t>(b.size()))).release();
}

// os.path.splitext's suffix of the path's last component (leading dots are no suffix), lower case.
std::string suffix_of(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t first = name.find_first_not_of('.');
  if (first == std::string_view::npos) return {};
  name.remove_prefix(first);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  std::string s(name.substr(dot));
  for (char& ch : s) ch = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
  return s;
}

// Writes `bytes` to a new file beside `path` and renames it over `path` once complete; 0, or the errno of
// the step that failed, after which no temporary file is left and `path` is as it was. A file replaced keeps
// its permission bits (a private file stays private); a new one gets the umask's.
int replace_file(const std::string& path, std::string_view bytes) {
  static std::atomic<unsigned> counter{0};
  const std::size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, 64);
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmp = dir + "/." + name + "." + std::to_string(getpid()) + "." + std::to_string(counter++) + ".tmp";
    fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return errno;
  }
  if (fd < 0) return EEXIST;
  int error = 0;
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) && fchmod(fd, existing.st_mode & 07777) != 0) {
    error = errno;
  }
  for (std::size_t done = 0; error == 0 && done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = errno;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(tmp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) unlink(tmp.c_str());
  return error;
}

PyObject* save(ChartCall& c) {
  PyObject* path = c.args.object(0);
  const std::optional<double> given = c.args.opt_f64(1);
  constexpr const char* kSuffixes = "save() writes .svg, .png, .pdf or .html files, chosen by the path's suffix";
  if (PyLong_Check(path)) raise(PyExc_ValueError, kSuffixes);
  Ref fs = Ref::steal(PyOS_FSPath(path));
  Ref encoded = PyBytes_Check(fs.get()) ? Ref::borrow(fs.get()) : Ref::steal(PyUnicode_EncodeFSDefault(fs.get()));
  const std::string file(PyBytes_AS_STRING(encoded.get()), static_cast<std::size_t>(PyBytes_GET_SIZE(encoded.get())));
  // The system calls would end the path at the NUL and write another file than the one named.
  if (file.find('\0') != std::string::npos) raise(PyExc_ValueError, "embedded null byte");
  const std::string suffix = suffix_of(file);
  const Format format = suffix == ".svg"   ? Format::svg
                        : suffix == ".png" ? Format::png
                        : suffix == ".pdf" ? Format::pdf
                                           : Format::html;
  if (format == Format::html && suffix != ".html") raise(PyExc_ValueError, kSuffixes);
  std::string content;
  if (format == Format::html) {
    content = page_html(chart_of(c));  // a page has no scale
  } else {
    const double scale = png_scale(c, given);
    content = format == Format::svg ? chart_svg(c) : chart_bytes(c, format, scale);
  }
  int error = 0;
  {
    WithoutGil unlocked;
    error = replace_file(file, content);
  }
  if (error != 0) {
    errno = error;
    PyErr_SetFromErrnoWithFilenameObject(PyExc_OSError, fs.get());
    throw PyErrorPending{};
  }
  return none();
}

constexpr ChartRow kRows[] = {
    {"render_png",
     "Render the chart to PNG bytes at `scale` times its size (0.1 to 8): 8-bit RGBA, text in the bundled "
     "DejaVu Sans",
     {opt_f64("scale")}, Borrow::shared,
     [](ChartCall& c) {
       const double scale = png_scale(c, c.args.opt_f64(0));
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
    check_scale(scale);
    const qc::raster::Output out = draw(std::string_view(text, static_cast<std::size_t>(size)), Format::png, scale);
    Ref list = Ref::steal(PyList_New(static_cast<Py_ssize_t>(out.not_understood.size())));
    for (std::size_t i = 0; i < out.not_understood.size(); ++i) {
      PyList_SET_ITEM(list.get(), static_cast<Py_ssize_t>(i), to_py(std::string_view(out.not_understood[i])));
    }
    Ref png = Ref::steal(to_bytes(out.bytes));
    return Ref::steal(PyTuple_Pack(2, png.get(), list.get())).release();
#else
    no_raster();
#endif
  });
}

}  // namespace

std::optional<std::string> display_png(const qc::api::Chart& chart) {
#if QC_RASTER
  qc::raster::Output out =
      draw_unchecked(qc::api::ChartRenderer(chart).render_svg(), Format::png, 1.0);
  if (out.status == qc::raster::Status::no_memory || out.status == qc::raster::Status::cairo_error) {
    raise_failure(out, Format::png, 1.0);
  }
  if (out.status == qc::raster::Status::ok) return std::move(out.bytes);
  return std::nullopt;
#else
  (void)chart;
  return std::nullopt;
#endif
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
