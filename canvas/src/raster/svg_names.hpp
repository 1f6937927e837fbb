// The element and attribute names of the SVG subset the chart writer produces, and what each element may carry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qc::raster {

enum class Element : std::uint8_t {
  svg, defs, linear_gradient, radial_gradient, stop, clip_path, g, rect, line, polyline, circle, path, text,
};

// One name per attribute, in the order of the enumeration below.
inline constexpr std::string_view kAttrNames[] = {
    "x", "y", "width", "height", "x1", "y1", "x2", "y2", "cx", "cy", "r", "d", "points",
    "fill", "stroke", "stroke-width", "stroke-dasharray", "stroke-linecap", "stroke-linejoin", "opacity",
    "transform", "font-family", "font-size", "font-weight", "text-anchor", "dominant-baseline",
    "id", "offset", "stop-color", "clip-path", "viewBox", "xmlns", "xmlns:xlink", "class",
};

enum class Attr : std::uint8_t {
  x, y, width, height, x1, y1, x2, y2, cx, cy, r, d, points,
  fill, stroke, stroke_width, stroke_dasharray, stroke_linecap, stroke_linejoin, opacity,
  transform, font_family, font_size, font_weight, text_anchor, dominant_baseline,
  id, offset, stop_color, clip_path, view_box, xmlns, xmlns_xlink, class_name,
  count,
};
inline constexpr std::size_t kAttrCount = static_cast<std::size_t>(Attr::count);
static_assert(std::size(kAttrNames) == kAttrCount);

using AttrSet = std::uint64_t;
constexpr AttrSet bit(Attr a) { return AttrSet{1} << static_cast<unsigned>(a); }
template <class... A>
constexpr AttrSet attrs(A... a) {
  return (bit(a) | ... | 0);
}

std::optional<Element> element_named(std::string_view name);
std::string_view element_name(Element e);
std::optional<Attr> attr_named(std::string_view name);

// The attributes the writer puts on each element; anything else is reported as not understood.
AttrSet allowed_attrs(Element e);

}  // namespace qc::raster
