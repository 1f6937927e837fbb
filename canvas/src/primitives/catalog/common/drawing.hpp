// Drawing conventions every built-in primitive shares: pixel snapping, stroke set-up, fills from the stroke.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "primitives/core/render.hpp"
#include "primitives/core/traits.hpp"

namespace qc::primitives::catalog {

// Centres a coordinate on the device pixel grid so that one-pixel lines stay crisp:
// round(v * dpr) / dpr + 0.5 / dpr, halves rounded away from zero.
double snap_to_pixel(double v, double dpr) noexcept;

// snap_to_pixel bound to one context's device-pixel ratio.
struct PixelSnap {
  double dpr;
  double operator()(double v) const noexcept { return snap_to_pixel(v, dpr); }
};

// Sets the record's stroke colour, width and line-style dash for the lifetime of the scope and sets the
// dash back to none when it ends, so that a render leaves no dash behind.
class StrokeScope {
 public:
  StrokeScope(RenderContext& ctx, const PrimitiveData& data);
  ~StrokeScope() { ctx_.set_line_dash({}); }
  StrokeScope(const StrokeScope&) = delete;
  StrokeScope& operator=(const StrokeScope&) = delete;

 private:
  RenderContext& ctx_;
};

// Dash pattern of a level's style name ("dotted", "dashed", "large_dashed", "sparse_dotted", with
// underscores unlike the record's line styles); any other name is solid.
std::span<const double> level_style_dash(std::string_view style) noexcept;

// One straight stroked path from (x1, y1) to (x2, y2), in the current stroke state.
void stroke_segment(RenderContext& ctx, double x1, double y1, double x2, double y2);

// The fill of a closed shape without a fill colour of its own: the "#rrggbb" head of the stroke text
// followed by the opacity as two lower-case hex digits (0.2 gives "33"). A three-digit "#rgb" stroke is
// widened to six digits first; any other stroke shorter than seven bytes, or whose seventh byte does not
// end a character, is used unchanged.
std::string fill_color_with_opacity(std::string_view stroke, double opacity);

// Which ends of a two-anchor line are carried to the chart edges.
enum class ExtendMode : std::uint8_t { None = 0, Right = 1, Left = 2, Both = 3 };
std::string_view json_name(ExtendMode mode) noexcept;

struct PixelSegment {
  double x1, y1, x2, y2;
};

// The segment with the chosen ends carried to x = 0 and x = width along its own direction. A steep
// segment (|dx| <= 0.001 px) is carried by a factor of 1000 instead.
PixelSegment extend_segment(const PixelSegment& s, ExtendMode mode, double width) noexcept;

// How far a tool carries a line it extends past its anchors (pitchfork tines, fib channel, fan lines):
// twice the chart's width plus its height, so the line leaves the pane in any direction, a tall, narrow
// pane included.
double extension_reach(const RenderContext& ctx);

}  // namespace qc::primitives::catalog
