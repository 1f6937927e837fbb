// The up and down arrows: a filled triangle at one anchor, as wide as it is high.
#pragma once

#include "primitives/catalog/arrows/marker.hpp"

namespace qc::primitives::catalog {

template <class Derived, ArrowDirection kDirection>
class VerticalArrow : public PointMarker<Derived> {
 public:
  double size = 20.0;  // height and base width in pixels

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", this->bar);
    json_entry(w, "price", this->price);
    json_entry(w, "size", size);
  }
  void render(RenderContext& ctx, bool) const override {
    draw_marker(ctx, this->data_, {this->bar, this->price}, kDirection, size * 0.5, size * 0.5);
  }
};

}  // namespace qc::primitives::catalog
