// The two outputs: a surface of the document's size, the replay onto it, and its bytes.
#include "raster/raster.hpp"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "raster/limits.hpp"
#include "raster/png_writer.hpp"
#include "raster/replay.hpp"

namespace qc::raster {
namespace {

struct SurfaceFree {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextFree {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceFree>;
using Context = std::unique_ptr<cairo_t, ContextFree>;

// Draws the document onto the surface at `scale`; cairo's status once drawn (a context in error draws
// nothing more, so anything but success means a cut picture).
cairo_status_t replay_onto(SvgReplay& doc, cairo_surface_t* surface, double scale) {
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return cairo_surface_status(surface);
  const Context cr(cairo_create(surface));
  if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) return cairo_status(cr.get());
  cairo_scale(cr.get(), scale, scale);
  doc.draw(cr.get());
  return cairo_status(cr.get());
}

// The output's status from cairo's; true when that is success.
bool take_status(cairo_status_t status, Output& out) {
  if (status == CAIRO_STATUS_SUCCESS) return true;
  out.status = status == CAIRO_STATUS_NO_MEMORY ? Status::no_memory : Status::cairo_error;
  if (out.status == Status::cairo_error) out.error = cairo_status_to_string(status);
  return false;
}

// The output's size from the document's: whole pixels at `scale`, or the document's own size for a page.
// False, with the status set, when the document has no size or the output would be too large.
bool size_output(const SvgReplay& doc, std::optional<double> scale, double max_side, Output& out) {
  if (!doc.has_size()) {
    out.status = Status::no_size;
    out.not_understood = doc.notes().list();
    return false;
  }
  out.width = scale ? png_side(doc.width(), *scale) : doc.width();
  out.height = scale ? png_side(doc.height(), *scale) : doc.height();
  if (side_ok(out.width, max_side) && side_ok(out.height, max_side)) return true;
  out.status = Status::too_large;
  return false;
}

cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

Output png_from_svg(std::string_view svg, double scale) {
  Output out;
  if (!scale_ok(scale)) {
    out.status = Status::bad_scale;
    return out;
  }
  SvgReplay doc(svg);
  if (!size_output(doc, scale, kMaxPngSide, out)) return out;
  const auto w = static_cast<int>(out.width), h = static_cast<int>(out.height);
  const Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  const cairo_status_t drawn = replay_onto(doc, surface.get(), scale);
  out.not_understood = doc.notes().list();
  if (!take_status(drawn, out)) return out;
  cairo_surface_flush(surface.get());
  const Pixels pixels{cairo_image_surface_get_data(surface.get()), static_cast<std::uint32_t>(w),
                      static_cast<std::uint32_t>(h),
                      static_cast<std::size_t>(cairo_image_surface_get_stride(surface.get()))};
  if (!write_png(pixels, out.bytes)) out.status = Status::no_memory;
  return out;
}

Output pdf_from_svg(std::string_view svg) {
  return pdf_from_pages(1, [svg](std::size_t) { return svg; });
}

Output pdf_from_pages(std::size_t pages, const std::function<std::string_view(std::size_t)>& page) {
  Output out;
  Surface surface;
  for (std::size_t i = 0; i < pages && out.status == Status::ok; ++i) {
    SvgReplay doc(page(i));
    if (!size_output(doc, std::nullopt, kMaxPdfSide, out)) break;
    if (!surface) {
      surface.reset(cairo_pdf_surface_create_for_stream(append_bytes, &out.bytes, out.width, out.height));
    } else {
      // The page before is complete; cairo sizes the next one as it begins.
      cairo_surface_show_page(surface.get());
      cairo_pdf_surface_set_size(surface.get(), out.width, out.height);
    }
    take_status(replay_onto(doc, surface.get(), 1.0), out);
    const std::vector<std::string> notes = doc.notes().list();
    out.not_understood.insert(out.not_understood.end(), notes.begin(), notes.end());
  }
  if (surface) {
    cairo_surface_finish(surface.get());
    if (out.status == Status::ok) take_status(cairo_surface_status(surface.get()), out);
  }
  std::sort(out.not_understood.begin(), out.not_understood.end());
  out.not_understood.erase(std::unique(out.not_understood.begin(), out.not_understood.end()), out.not_understood.end());
  if (out.status != Status::ok) out.bytes.clear();
  return out;
}

}  // namespace qc::raster
