// Arrow marker: a filled triangle at one anchor pointing up, down, left or right.
#pragma once

#include "primitives/catalog/arrows/marker.hpp"

namespace qc::primitives::catalog {

class ArrowMarker final : public PointMarker<ArrowMarker> {
 public:
  static constexpr BuiltinType kType = BuiltinType::arrow_marker;

  ArrowDirection direction = ArrowDirection::Up;
  double size = 20.0;  // length in pixels; the base is two thirds of it

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "direction", direction);
    json_entry(w, "size", size);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
