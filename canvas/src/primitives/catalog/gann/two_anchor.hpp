// GannTwoAnchor: the two anchors the Gann box, square and fan share, with the factory's rule for a missing
// second one and their JSON entries.
#pragma once

#include <array>
#include <span>

#include "primitives/catalog/common/two_point.hpp"

namespace qc::primitives::catalog {

template <class Derived>
class GannTwoAnchor : public TwoPoint<Derived> {
 public:
  static constexpr double kDefaultWidth = 1.0;

  bool show_labels = true;  // stored and written; nothing is drawn for it

  // A missing second anchor lies Derived::kSecondOffset (bars, price) from the first.
  void place(std::span<const Point> points) { this->place_two(points, {}, Derived::kSecondOffset); }

 protected:
  // The anchors' entries and "show_labels", which come first in each of these records.
  void write_anchor_fields(JsonWriter& w) const {
    TwoPoint<Derived>::write_anchor_fields(w);
    json_entry(w, "show_labels", show_labels);
  }
};

}  // namespace qc::primitives::catalog
