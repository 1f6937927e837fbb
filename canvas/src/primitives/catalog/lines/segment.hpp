// Segment: the two-anchor base of the ray, the trend line, the extended line and the measuring lines.
#pragma once

#include <optional>
#include <span>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/two_point.hpp"

namespace qc::primitives::catalog {

template <class Derived>
class Segment : public TwoPoint<Derived> {
 public:
  static constexpr SetRule kSetRule = SetRule::AllOrNothing;

  // No point: both anchors at (0, 0); one point: both anchors there.
  void place(std::span<const Point> points) { this->place_two(points, {}, {}); }

  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    return line_text_anchor(this->data_, ctx, {this->bar1, this->price1}, {this->bar2, this->price2});
  }

 protected:
  // The anchors' segment with the chosen ends carried to the chart edges, snapped and stroked.
  void stroke_extended(RenderContext& ctx, ExtendMode mode) const {
    const PixelSnap snap{ctx.dpr()};
    const PixelSegment anchors = this->to_pixels(ctx);
    StrokeScope stroke(ctx, this->data_);
    const PixelSegment s = extend_segment(anchors, mode, ctx.chart_width());
    stroke_segment(ctx, snap(s.x1), snap(s.y1), snap(s.x2), snap(s.y2));
  }
};

}  // namespace qc::primitives::catalog
