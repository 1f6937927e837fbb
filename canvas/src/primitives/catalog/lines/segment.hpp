// Segment: the two-anchor base of the ray, the trend line and the extended line.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

template <class Derived>
class Segment : public PrimitiveBase<Derived> {
 public:
  double bar1 = 0.0;
  double price1 = 0.0;
  double bar2 = 0.0;
  double price2 = 0.0;

  static constexpr SetRule kSetRule = SetRule::AllOrNothing;
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Derived>{&Derived::bar1, &Derived::price1},
                      AnchorField<Derived>{&Derived::bar2, &Derived::price2}};
  }

  // No point: both anchors at (0, 0); one point: both anchors there.
  void place(std::span<const Point> points) {
    const Point a = point_or(points, 0, {});
    const Point b = point_or(points, 1, a);
    bar1 = a.bar;
    price1 = a.price;
    bar2 = b.bar;
    price2 = b.price;
  }

  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    return line_text_anchor(this->data_, ctx, {bar1, price1}, {bar2, price2});
  }

 protected:
  void write_segment_fields(JsonWriter& w) const {
    json_entry(w, "bar1", bar1);
    json_entry(w, "price1", price1);
    json_entry(w, "bar2", bar2);
    json_entry(w, "price2", price2);
  }

  // The anchors' segment with the chosen ends carried to the chart edges, snapped and stroked.
  void stroke_extended(RenderContext& ctx, ExtendMode mode) const {
    const PixelSnap snap{ctx.dpr()};
    const PixelSegment anchors = to_pixels(ctx);
    StrokeScope stroke(ctx, this->data_);
    const PixelSegment s = extend_segment(anchors, mode, ctx.chart_width());
    stroke_segment(ctx, snap(s.x1), snap(s.y1), snap(s.x2), snap(s.y2));
  }

  // The anchors in pixels, mapped in the order bar1, price1, bar2, price2.
  PixelSegment to_pixels(const RenderContext& ctx) const {
    const double x1 = ctx.bar_to_x(bar1);
    const double y1 = ctx.price_to_y(price1);
    const double x2 = ctx.bar_to_x(bar2);
    const double y2 = ctx.price_to_y(price2);
    return {x1, y1, x2, y2};
  }
};

}  // namespace qc::primitives::catalog
