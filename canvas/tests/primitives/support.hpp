// Test support for primitives: draw through a fresh SVG drawing context, read the elements back, check JSON.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "primitives/core/svg_render_context.hpp"
#include "primitives/core/traits.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::primitives::testing {

// One element of a backend body: its tag, attributes and (for text) its unescaped content.
struct SvgElement {
  std::string tag;
  std::map<std::string, std::string, std::less<>> attrs;
  std::string content;

  const std::string& at(std::string_view name) const;
  double number(std::string_view name) const;
  bool has(std::string_view name) const { return attrs.find(name) != attrs.end(); }
};

// Parses a body of one element per line as the backend writes it; fails the current test (and returns what
// it read so far) on anything else: unknown syntax, unescaped markup characters, an unterminated line.
std::vector<SvgElement> parse_body(std::string_view body);

// The elements with the given tag, in order.
std::vector<SvgElement> of_tag(const std::vector<SvgElement>& all, std::string_view tag);

// A path's d attribute as its commands: the letter and its numbers.
struct PathStep {
  char op;
  std::vector<double> args;
};
std::vector<PathStep> parse_path(std::string_view d);

// The shapes of the elements: each subpath of a path that the backend wrote for a batched shape read back as
// the element that shape would be alone (a rect, a line, a circle; any other subpath a path of its own), with
// the path's paint attributes; other elements as they are.
std::vector<SvgElement> as_shapes(const std::vector<SvgElement>& elements);

// The test canvas: 800 x 600 with spacing 10 px per bar and prices 0..200 over a 400 px pane at top 0.
inline constexpr double kCanvasWidth = 800.0;
inline constexpr double kCanvasHeight = 600.0;
PaneMapping test_pane();

// A backend and a context drawing into it, as the chart renderer makes them for one primitive.
struct Canvas {
  explicit Canvas(double dpr = 1.0, PaneMapping pane = test_pane(), const ChartInputs& chart = {});
  render::SvgBackend backend;
  SvgRenderContext ctx;
  std::vector<SvgElement> elements() const { return parse_body(backend.body()); }
};

// Draws the primitive on a fresh canvas and returns the elements it wrote.
std::vector<SvgElement> draw(const Primitive& primitive, double dpr = 1.0);
// The same on a canvas that lends the tool the chart's bars and background colour.
std::vector<SvgElement> draw_on(const Primitive& primitive, const ChartInputs& chart, double dpr = 1.0);

// Whether text is one complete JSON value (strict grammar, nothing after it).
bool is_valid_json(std::string_view text);

}  // namespace qc::primitives::testing
