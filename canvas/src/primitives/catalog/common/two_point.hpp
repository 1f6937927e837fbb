// TwoPoint: the base of tools anchored by two full points (bar1, price1) and (bar2, price2).
#pragma once

#include <array>
#include <span>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

template <class Derived>
class TwoPoint : public PrimitiveBase<Derived> {
 public:
  double bar1 = 0.0;
  double price1 = 0.0;
  double bar2 = 0.0;
  double price2 = 0.0;

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Derived>{&Derived::bar1, &Derived::price1},
                      AnchorField<Derived>{&Derived::bar2, &Derived::price2}};
  }

 protected:
  // The first two points; without points the first anchor is first_default, and a missing second anchor
  // lies offset (bars, price units) from the first.
  void place_two(std::span<const Point> points, Point first_default, Point offset) {
    const Point a = point_or(points, 0, first_default);
    const Point b = point_or(points, 1, {a.bar + offset.bar, a.price + offset.price});
    bar1 = a.bar;
    price1 = a.price;
    bar2 = b.bar;
    price2 = b.price;
  }

  // Both anchors in pixels, mapped in the order bar1, price1, bar2, price2.
  PixelSegment to_pixels(const RenderContext& ctx) const {
    const double x1 = ctx.bar_to_x(bar1);
    const double y1 = ctx.price_to_y(price1);
    const double x2 = ctx.bar_to_x(bar2);
    const double y2 = ctx.price_to_y(price2);
    return {x1, y1, x2, y2};
  }

  void write_anchor_fields(JsonWriter& w) const {
    json_entry(w, "bar1", bar1);
    json_entry(w, "price1", price1);
    json_entry(w, "bar2", bar2);
    json_entry(w, "price2", price2);
  }
};

}  // namespace qc::primitives::catalog
