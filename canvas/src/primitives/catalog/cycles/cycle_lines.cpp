// Cycle lines geometry: count lines per stretch, a stretch more on each extended side.
#include "primitives/catalog/cycles/cycle_lines.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/cycles/cycle_stroke.hpp"

namespace qc::primitives::catalog {

void CycleLines::place(std::span<const Point> points) {
  bar1 = point_or(points, 0, {}).bar;
  bar2 = point_or(points, 1, {bar1 + 20.0, 0.0}).bar;
}

void CycleLines::write_fields(JsonWriter& w) const {
  json_entry(w, "bar1", bar1);
  json_entry(w, "bar2", bar2);
  json_entry(w, "count", count);
  json_entry(w, "extend_left", extend_left);
  json_entry(w, "extend_right", extend_right);
}

void CycleLines::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double x2 = ctx.bar_to_x(bar2);
  const double spacing = std::abs(x2 - x1);
  // Also stops a NaN or endless spacing, which would put every line at the same non-finite place.
  if (!(spacing >= 0.1) || !std::isfinite(spacing)) return;
  set_cycle_stroke(ctx, data_);
  const double height = ctx.canvas_height();
  double start = std::fmin(x1, x2);
  const unsigned stretches = 1u + (extend_left ? 1u : 0u) + (extend_right ? 1u : 0u);
  // The line count is kept in eight bits, as the count itself is.
  const auto n = static_cast<std::uint8_t>(count * stretches);
  if (extend_left) start -= count * spacing;
  for (unsigned i = 0; i < n; ++i) {
    const double x = snap(start + i * spacing);
    stroke_segment(ctx, x, snap(0.0), x, snap(height));
  }
}

std::optional<TextAnchor> CycleLines::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  const double x1 = ctx.bar_to_x(bar1);
  const double x2 = ctx.bar_to_x(bar2);
  return box_text_anchor(data_, {std::fmin(x1, x2), 0.0, std::fmax(x1, x2), ctx.canvas_height()});
}

std::unique_ptr<Primitive> create_cycle_lines(std::span<const Point> points, std::string_view color) {
  return CycleLines::create(points, color);
}

}  // namespace qc::primitives::catalog
