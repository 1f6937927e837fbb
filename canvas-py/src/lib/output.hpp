// The files and bytes a document becomes, shared by Chart and Figure: PNG and PDF through the raster module,
// the scale rule, and a file written whole before it replaces the one at its path.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "py.hpp"

namespace qcpy {

enum class Format { svg, png, pdf, html };

// Raises `type` with `message` (throws PyErrorPending).
[[noreturn]] void raise(PyObject* type, const std::string& message);
std::string number_text(double v);

// The scale given, checked; without one, `dpr` as a PNG of width x height can have it.
double png_scale(const std::optional<double>& given, double dpr, double width, double height);

// The PNG or PDF bytes of a document; raises as the drawing's failure says (RuntimeError without cairo).
std::string document_bytes(std::string_view svg, Format format, double scale);
// The PNG at the document's own size as notebooks show it; none when no PNG can be had (too large, or
// built without cairo). Raises on a failure of cairo or of memory.
std::optional<std::string> display_png_of(std::string_view svg);
// A PDF of `pages` pages, page i the document page(i) gives, each used before the next is asked for.
std::string pdf_of_pages(std::size_t pages, const std::function<std::string_view(std::size_t)>& page);
// Raises the ValueError of a PDF page of width x height points that is too large.
void check_pdf_page(double width, double height);

// A path save() writes to: its suffix read, its bytes as the system calls take them.
struct SavePath {
  Ref fs;
  std::string file;
  Format format;
};
// Raises ValueError for a NUL in the path; the format is PDF, whatever the suffix.
SavePath file_path(PyObject* path);
// Raises ValueError for a suffix save() does not write, too.
SavePath save_path(PyObject* path);
// Writes `content` to a new file beside the path and renames it over the path once complete; raises OSError.
void write_whole(const SavePath& path, std::string_view content);

PyObject* to_bytes(std::string_view b);

}  // namespace qcpy
