// Brush: a free-hand stroke in the primitive's colour.
#pragma once

#include "primitives/catalog/brushes/freehand.hpp"

namespace qc::primitives::catalog {

class Brush final : public Freehand<Brush> {
 public:
  static constexpr BuiltinType kType = BuiltinType::brush;
  static constexpr double kDefaultWidth = 3.0;

  void write_fields(JsonWriter& w) const { write_freehand_fields(w); }
  void render(RenderContext& ctx, bool) const override {
    draw_freehand(ctx, anchors, data_.color.stroke, data_.width);
  }
};

}  // namespace qc::primitives::catalog
