// The sizes a PNG or PDF may have, shared by the raster module and by callers built without it.
#pragma once

#include <cmath>

namespace qc::raster {

// A PNG is drawn at 0.1 to 8 times the document's size.
inline constexpr double kMinScale = 0.1;
inline constexpr double kMaxScale = 8.0;
// Cairo's image surfaces stop at 32,767 pixels a side; a PDF page at 14,400 points.
inline constexpr double kMaxPngSide = 32767.0;
inline constexpr double kMaxPdfSide = 14400.0;

// False for NaN too.
constexpr bool scale_ok(double scale) { return scale >= kMinScale && scale <= kMaxScale; }

// Pixels along a side of `length` document units drawn at `scale`: halves round up.
inline double png_side(double length, double scale) { return std::floor(length * scale + 0.5); }

constexpr bool side_ok(double side, double max) { return side >= 1.0 && side <= max; }

// The scale of a PNG drawn without one given, for a document `width` x `height` of a chart whose device-pixel
// ratio is `dpr` (a finite ratio above 0): the ratio, so that a stroke covers whole device pixels as on the
// chart's screen, held within kMinScale..kMaxScale and lowered until no side passes kMaxPngSide (not below
// kMinScale: a document too large even then stays too large).
inline double default_png_scale(double dpr, double width, double height) {
  const double longest = width > height ? width : height;
  double scale = dpr < kMinScale ? kMinScale : dpr > kMaxScale ? kMaxScale : dpr;
  if (longest > 0 && png_side(longest, scale) > kMaxPngSide) scale = kMaxPngSide / longest;
  return scale < kMinScale ? kMinScale : scale;
}

}  // namespace qc::raster
