// Ray: a line from its first anchor through its second, on beyond the edge of the pane.
#pragma once

#include "primitives/catalog/lines/segment.hpp"

namespace qc::primitives::catalog {

class Ray final : public Segment<Ray> {
 public:
  static constexpr BuiltinType kType = BuiltinType::ray;
  static constexpr double kDefaultWidth = 2.0;

  void write_fields(JsonWriter& w) const { write_anchor_fields(w); }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
