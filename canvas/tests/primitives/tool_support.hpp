// Helpers for the measuring, projection and volume tool tests: building a tool, labelling it and reading
// the vertices of its straight paths.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "support.hpp"

namespace qc::primitives::testing {

// On the test canvas bar b sits at x = 10b + 5 and price p at y = 400 - 2p.
constexpr double x_of(double bar) { return 10.0 * bar + 5.0; }
constexpr double y_of(double price) { return 400.0 - 2.0 * price; }

template <class T>
std::unique_ptr<T> make(std::vector<Point> points, std::string_view color = "#2196F3") {
  return T::create(points, color);
}

struct XY {
  double x, y;
  friend bool operator==(const XY&, const XY&) = default;
};

// The end points of the move and line steps of a path element, in order.
inline std::vector<XY> vertices(const SvgElement& e) {
  std::vector<XY> out;
  for (const PathStep& s : parse_path(e.at("d"))) {
    if ((s.op == 'M' || s.op == 'L') && s.args.size() == 2) out.push_back({s.args[0], s.args[1]});
  }
  return out;
}

// Draws the primitive, then strokes a probe path in whatever dash state the render left behind; the probe
// is the last element.
inline std::vector<SvgElement> draw_with_probe(const Primitive& p, double dpr = 1.0) {
  Canvas canvas(dpr);
  p.render(canvas.ctx, false);
  canvas.ctx.begin_path();
  canvas.ctx.move_to(0, 0);
  canvas.ctx.stroke();
  return canvas.elements();
}

// A label with the given alignments and font size on the record.
inline void set_label(Primitive& p, PrimitiveTextAlign h, PrimitiveTextAlign v, double font_size = 14.0) {
  PrimitiveText text = PrimitiveText::make("label");
  text.h_align = h;
  text.v_align = v;
  text.font_size = font_size;
  p.data_mut().text = text;
}

}  // namespace qc::primitives::testing
