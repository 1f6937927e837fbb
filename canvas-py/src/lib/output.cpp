// PNG and PDF bytes of a document and the files save() writes, for every class that renders one. Built
// without the raster module (QC_RASTER off), PNG and PDF raise RuntimeError.
#include "output.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>

#include "errors.hpp"
#include "raster/limits.hpp"
#if QC_RASTER
#include "raster/raster.hpp"
#endif

namespace qcpy {
namespace {

void check_scale(double scale) {
  if (!qc::raster::scale_ok(scale)) {
    raise(PyExc_ValueError, "scale must be between " + number_text(qc::raster::kMinScale) + " and " +
                                number_text(qc::raster::kMaxScale) + ", not " + number_text(scale));
  }
}

[[noreturn]] void pdf_too_large(double width, double height) {
  raise(PyExc_ValueError, "the PDF page would be " + number_text(width) + " x " + number_text(height) +
                              " points: each side must be 1 to " + number_text(qc::raster::kMaxPdfSide));
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
      pdf_too_large(out.width, out.height);
  }
}

#else

[[noreturn]] void no_raster() {
  raise(PyExc_RuntimeError,
        "quorvel_canvas was built without cairo (QC_RASTER=OFF), so it writes no PNG or PDF: install "
        "libcairo2-dev, libdeflate-dev and fonts-dejavu-core, then reinstall the module");
}

#endif

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

}  // namespace

[[noreturn]] void raise(PyObject* type, const std::string& message) {
  PyErr_SetString(type, message.c_str());
  throw PyErrorPending{};
}

std::string number_text(double v) {
  char buf[32];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

double png_scale(const std::optional<double>& given, double dpr, double width, double height) {
  if (given) {
    check_scale(*given);
    return *given;
  }
  return qc::raster::default_png_scale(dpr, width, height);
}

std::string document_bytes(std::string_view svg, Format format, double scale) {
#if QC_RASTER
  qc::raster::Output out = draw_unchecked(svg, format, scale);
  raise_failure(out, format, scale);
  return std::move(out.bytes);
#else
  (void)svg, (void)format, (void)scale;
  no_raster();
#endif
}

std::optional<std::string> display_png_of(std::string_view svg) {
#if QC_RASTER
  qc::raster::Output out = draw_unchecked(svg, Format::png, 1.0);
  if (out.status == qc::raster::Status::no_memory || out.status == qc::raster::Status::cairo_error) {
    raise_failure(out, Format::png, 1.0);
  }
  if (out.status == qc::raster::Status::ok) return std::move(out.bytes);
  return std::nullopt;
#else
  (void)svg;
  return std::nullopt;
#endif
}

std::string pdf_of_pages(std::size_t pages, const std::function<std::string_view(std::size_t)>& page) {
#if QC_RASTER
  qc::raster::Output out = qc::raster::pdf_from_pages(pages, page);
  raise_failure(out, Format::pdf, 1.0);
  return std::move(out.bytes);
#else
  (void)pages, (void)page;
  no_raster();
#endif
}

void check_pdf_page(double width, double height) {
  if (!qc::raster::side_ok(width, qc::raster::kMaxPdfSide) || !qc::raster::side_ok(height, qc::raster::kMaxPdfSide)) {
    pdf_too_large(width, height);
  }
}

SavePath file_path(PyObject* path) {
  Ref fs = Ref::steal(PyOS_FSPath(path));
  Ref encoded = PyBytes_Check(fs.get()) ? Ref::borrow(fs.get()) : Ref::steal(PyUnicode_EncodeFSDefault(fs.get()));
  std::string file(PyBytes_AS_STRING(encoded.get()), static_cast<std::size_t>(PyBytes_GET_SIZE(encoded.get())));
  // The system calls would end the path at the NUL and write another file than the one named.
  if (file.find('\0') != std::string::npos) raise(PyExc_ValueError, "embedded null byte");
  return {std::move(fs), std::move(file), Format::pdf};
}

SavePath save_path(PyObject* path) {
  constexpr const char* kSuffixes = "save() writes .svg, .png, .pdf or .html files, chosen by the path's suffix";
  if (PyLong_Check(path)) raise(PyExc_ValueError, kSuffixes);
  SavePath out = file_path(path);
  const std::string suffix = suffix_of(out.file);
  out.format = suffix == ".svg"   ? Format::svg
               : suffix == ".png" ? Format::png
               : suffix == ".pdf" ? Format::pdf
                                  : Format::html;
  if (out.format == Format::html && suffix != ".html") raise(PyExc_ValueError, kSuffixes);
  return out;
}

void write_whole(const SavePath& path, std::string_view content) {
  int error = 0;
  {
    WithoutGil unlocked;
    error = replace_file(path.file, content);
  }
  if (error != 0) {
    errno = error;
    PyErr_SetFromErrnoWithFilenameObject(PyExc_OSError, path.fs.get());
    throw PyErrorPending{};
  }
}

PyObject* to_bytes(std::string_view b) {
  return Ref::steal(PyBytes_FromStringAndSize(b.data(), static_cast<Py_ssize_t>(b.size()))).release();
}

}  // namespace qcpy
