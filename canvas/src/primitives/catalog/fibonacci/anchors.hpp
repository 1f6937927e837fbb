// The anchor layouts the Fibonacci tools share: a measured move P1-P2, three points P1-P2-P3, a centre
// with an edge. Each derives missing anchors from the given ones by the tool's own offsets.
#pragma once

#include <array>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/common/two_point.hpp"

namespace qc::primitives::catalog::fibonacci {

constexpr Point offset(Point p, Point by) noexcept { return {p.bar + by.bar, p.price + by.price}; }

// P1 and P2; a missing P2 lies Derived::kSecondOffset (bars, price) from P1.
template <class Derived>
class TwoAnchor : public TwoPoint<Derived> {
 public:
  void place(std::span<const Point> points) { this->place_two(points, {}, Derived::kSecondOffset); }
};

// P1, P2 and P3; a missing P2 lies Derived::kSecondOffset from P1, a missing P3 where
// Derived::third_from(P1, P2) puts it.
template <class Derived>
class ThreeAnchor : public TwoAnchor<Derived> {
 public:
  double bar3 = 0.0;
  double price3 = 0.0;

  static constexpr auto anchor_fields() {
    const auto two = TwoAnchor<Derived>::anchor_fields();
    return std::array{two[0], two[1], AnchorField<Derived>{&Derived::bar3, &Derived::price3}};
  }
  void place(std::span<const Point> points) {
    TwoAnchor<Derived>::place(points);
    const Point c = point_or(points, 2, Derived::third_from({this->bar1, this->price1}, {this->bar2, this->price2}));
    bar3 = c.bar;
    price3 = c.price;
  }

 protected:
  void write_anchor_fields(JsonWriter& w) const {
    TwoAnchor<Derived>::write_anchor_fields(w);
    json_entry(w, "bar3", bar3);
    json_entry(w, "price3", price3);
  }
};

// A centre and an edge that sets the tool's scale; a missing edge lies 20 bars on and 10 up.
template <class Derived>
class CentreEdge : public PrimitiveBase<Derived> {
 public:
  double center_bar = 0.0;
  double center_price = 0.0;
  double edge_bar = 0.0;
  double edge_price = 0.0;

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Derived>{&Derived::center_bar, &Derived::center_price},
                      AnchorField<Derived>{&Derived::edge_bar, &Derived::edge_price}};
  }
  void place(std::span<const Point> points) {
    const Point c = point_or(points, 0, {});
    const Point e = point_or(points, 1, offset(c, {20.0, 10.0}));
    center_bar = c.bar;
    center_price = c.price;
    edge_bar = e.bar;
    edge_price = e.price;
  }

 protected:
  void write_anchor_fields(JsonWriter& w) const {
    json_entry(w, "center_bar", center_bar);
    json_entry(w, "center_price", center_price);
    json_entry(w, "edge_bar", edge_bar);
    json_entry(w, "edge_price", edge_price);
  }
};

}  // namespace qc::primitives::catalog::fibonacci
