// The drawing interface every backend offers, checked at compile time (there is no run-time dispatch).
#pragma once

#include <concepts>
#include <span>
#include <string_view>

#include "render/engine/path.hpp"
#include "render/engine/types.hpp"

namespace qc::render {

template <class B>
concept RenderBackend = requires(B& b, const Rect& rect, Color color, const StrokeStyle& stroke, double v,
                                 std::span<const PixelPoint> points, std::span<const PathCommand> path,
                                 const FillKind& fill, std::string_view text, const TextStyle& style) {
  b.fill_rect(rect, color);
  b.stroke_rect(rect, stroke);
  b.fill_circle(v, v, v, color);
  b.stroke_circle(v, v, v, stroke);
  b.line(v, v, v, v, stroke);
  b.polyline(points, stroke);
  b.stroke_path(path, stroke);
  b.fill_path(path, fill);
  b.text(text, style, v, v);
};

}  // namespace qc::render
