// GannTwoAnchor: the two anchors the Gann box, square and fan share, with the factory's rule for a missing
// second one and their JSON entries.
#pragma once

#include <array>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

template <class Derived>
class GannTwoAnchor : public PrimitiveBase<Derived> {
 public:
  static constexpr double kDefaultWidth = 1.0;

  double bar1 = 0.0;
  double price1 = 0.0;
  double bar2 = 0.0;
  double price2 = 0.0;
  bool show_labels = true;  // stored and written; nothing is drawn for it

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Derived>{&Derived::bar1, &Derived::price1},
                      AnchorField<Derived>{&Derived::bar2, &Derived::price2}};
  }

  // A missing second anchor lies Derived::kSecondOffset (bars, price) from the first.
  void place(std::span<const Point> points) {
    const Point a = point_or(points, 0, {});
    const Point anchors[] = {a, point_or(points, 1, {a.bar + Derived::kSecondOffset.bar,
                                                     a.price + Derived::kSecondOffset.price})};
    this->set_points(anchors);
  }

 protected:
  // The anchors' entries and "show_labels", which come first in each of these records.
  void write_anchor_fields(JsonWriter& w) const {
    json_entry(w, "bar1", bar1);
    json_entry(w, "price1", price1);
    json_entry(w, "bar2", bar2);
    json_entry(w, "price2", price2);
    json_entry(w, "show_labels", show_labels);
  }
};

}  // namespace qc::primitives::catalog
