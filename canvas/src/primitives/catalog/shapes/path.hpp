// Path: a closed polygon through any number of anchors, joined straight or smoothed through the segments'
// midpoints; never filled.
#pragma once

#include "primitives/catalog/shapes/free_shape.hpp"

namespace qc::primitives::catalog {

class Path final : public FreeShape<Path> {
 public:
  static constexpr BuiltinType kType = BuiltinType::path;

  bool smooth = false;
  bool closed = true;  // a path is a polygon: the outline returns to the first anchor

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
