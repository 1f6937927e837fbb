// Name lookups of the SVG subset: attributes through a collision-free hash checked when compiled.
#include "raster/svg_names.hpp"

#include <array>

namespace qc::raster {
namespace {

constexpr std::size_t kSlots = 64;

constexpr std::size_t slot(std::string_view s) {
  const auto c = [&](std::size_t i) { return static_cast<std::size_t>(static_cast<unsigned char>(s[i])); };
  return (s.size() + 15 * c(0) + 39 * c(s.size() - 1) + 28 * c(s.size() / 2)) % kSlots;
}

// Slot to attribute number plus one (0: empty).
constexpr std::array<std::uint8_t, kSlots> kTable = [] {
  std::array<std::uint8_t, kSlots> t{};
  for (std::size_t i = 0; i < kAttrCount; ++i) {
    if (t[slot(kAttrNames[i])] != 0) throw "two attribute names share a slot: change the hash";
    t[slot(kAttrNames[i])] = static_cast<std::uint8_t>(i + 1);
  }
  return t;
}();

struct ElementName {
  std::string_view name;
  Element element;
};

// The most frequent first.
constexpr ElementName kElements[] = {
    {"rect", Element::rect},
    {"line", Element::line},
    {"path", Element::path},
    {"text", Element::text},
    {"polyline", Element::polyline},
    {"circle", Element::circle},
    {"stop", Element::stop},
    {"linearGradient", Element::linear_gradient},
    {"radialGradient", Element::radial_gradient},
    {"g", Element::g},
    {"clipPath", Element::clip_path},
    {"defs", Element::defs},
    {"svg", Element::svg},
};

using enum Attr;
constexpr AttrSet kPaint = attrs(fill, stroke, stroke_width, stroke_dasharray, stroke_linecap, stroke_linejoin,
                                 opacity, transform);

}  // namespace

std::optional<Element> element_named(std::string_view name) {
  for (const ElementName& e : kElements) {
    if (e.name == name) return e.element;
  }
  return std::nullopt;
}

std::string_view element_name(Element e) {
  for (const ElementName& n : kElements) {
    if (n.element == e) return n.name;
  }
  return {};
}

std::optional<Attr> attr_named(std::string_view name) {
  if (name.empty()) return std::nullopt;
  const std::uint8_t n = kTable[slot(name)];
  if (n == 0 || kAttrNames[n - 1] != name) return std::nullopt;
  return static_cast<Attr>(n - 1);
}

AttrSet allowed_attrs(Element e) {
  switch (e) {
    case Element::svg: return attrs(xmlns, xmlns_xlink, x, y, width, height, view_box);
    case Element::defs: return 0;
    case Element::linear_gradient: return attrs(id, x1, y1, x2, y2);
    case Element::radial_gradient: return attrs(id, cx, cy, r);
    case Element::stop: return attrs(offset, stop_color);
    case Element::clip_path: return attrs(id);
    case Element::g: return attrs(clip_path, class_name);  // a class names a layer; it draws nothing
    case Element::rect: return kPaint | attrs(x, y, width, height);
    case Element::line: return kPaint | attrs(x1, y1, x2, y2);
    case Element::polyline: return kPaint | attrs(points);
    case Element::circle: return kPaint | attrs(cx, cy, r);
    case Element::path: return kPaint | attrs(d);
    case Element::text:
      return attrs(x, y, fill, opacity, transform, font_family, font_size, font_weight, text_anchor,
                   dominant_baseline);
  }
  return 0;
}

}  // namespace qc::raster
