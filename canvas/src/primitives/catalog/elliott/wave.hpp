// Shared drawing of the Elliott wave counts: one polyline through the points and each label above or below
// its point by the direction of the wave that ends there.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "primitives/catalog/common/pixel_paths.hpp"
#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

struct WaveLabels {
  std::span<const std::string_view> labels;  // by point index; an empty label is skipped
  double dx;                                 // horizontal offset from the point
  bool centred;                              // asks for centred text (which the SVG context ignores)
};

// The labels in the record's stroke colour with the font "12px sans-serif": 15 px above a point that lies
// higher on the screen than the one before it, else 15 px below (always below for the first point).
// Points beyond the label list get no label.
void draw_wave_labels(RenderContext& ctx, const PrimitiveData& data, std::span<const PixelPoint> px,
                      const WaveLabels& labels);

// The record of the fixed-length wave counts: N anchors in wave order, missing ones at (0, 0).
template <class Derived, std::size_t N>
class ElliottWave : public PrimitiveBase<Derived> {
 public:
  static constexpr double kDefaultWidth = 2.0;

  std::array<Point, N> anchors{};
  bool show_labels = true;

 protected:
  void write_wave_fields(JsonWriter& w) const {
    json_entry(w, "points", anchors);
    json_entry(w, "show_labels", show_labels);
  }

  // The wave line in the record's stroke and style; then the derived type's extra strokes (with the style
  // still set) and the labels when asked.
  template <class ExtraStrokes>
  void draw(RenderContext& ctx, std::span<const std::string_view> labels, ExtraStrokes&& extra) const {
    const PixelSnap snap{ctx.dpr()};
    const auto px = map_points(ctx, anchors);
    {
      StrokeScope stroke(ctx, this->data_);
      stroke_polyline(ctx, snap, px);
      extra(ctx, snap, std::span<const PixelPoint>(px));
    }
    if (show_labels) draw_wave_labels(ctx, this->data_, px, {labels, 0.0, true});
  }
  void draw(RenderContext& ctx, std::span<const std::string_view> labels) const {
    draw(ctx, labels, [](RenderContext&, PixelSnap, std::span<const PixelPoint>) {});
  }
};

}  // namespace qc::primitives::catalog
