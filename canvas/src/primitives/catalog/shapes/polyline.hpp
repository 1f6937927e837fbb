// Polyline: straight segments through any number of anchors, optionally closed and filled.
#pragma once

#include "primitives/catalog/shapes/free_shape.hpp"

namespace qc::primitives::catalog {

class Polyline final : public FreeShape<Polyline> {
 public:
  static constexpr BuiltinType kType = BuiltinType::polyline;

  bool closed = false;
  bool fill = false;  // only a closed outline of three or more anchors is filled
  double fill_opacity = 0.2;

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
