// PNG and PDF from an SVG document of the chart writer's subset: the document replayed onto cairo.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qc::raster {

enum class Status {
  ok,
  bad_scale,  // outside kMinScale..kMaxScale, or NaN
  no_size,    // the document gives no finite, positive width and height
  too_large,  // a side outside 1..kMaxPngSide pixels (1..kMaxPdfSide points for a PDF)
  no_memory,  // cairo or the compressor could not get the memory
  cairo_error,  // cairo stopped drawing for another reason: Output::error gives its words
};

struct Output {
  Status status = Status::ok;
  double width = 0.0;   // the image's pixels or the page's points, as asked for (also when too large)
  double height = 0.0;
  std::string bytes;
  const char* error = nullptr;  // with Status::cairo_error, cairo's description of its status
  std::vector<std::string> not_understood;  // "element" or "element@attribute", sorted, each once
};

// The document drawn at `scale` times its size: round(W x scale) by round(H x scale) pixels, 8-bit RGBA.
Output png_from_svg(std::string_view svg, double scale);
// A one-page PDF of the document at its size in points, text as text in the bundled font.
Output pdf_from_svg(std::string_view svg);
// A PDF of `pages` pages, page i the document page(i) gives (asked for in turn, each used before the next is
// asked for) at its size in points; the first page that fails stops it.
Output pdf_from_pages(std::size_t pages, const std::function<std::string_view(std::size_t)>& page);

}  // namespace qc::raster
