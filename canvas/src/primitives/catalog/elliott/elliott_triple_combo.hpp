// Elliott triple combination: a wave path through any number of points, labelled W, X, Y, X2, Z.
#pragma once

#include <vector>

#include "primitives/catalog/elliott/wave.hpp"

namespace qc::primitives::catalog {

class ElliottTripleCombo final : public PrimitiveBase<ElliottTripleCombo> {
 public:
  static constexpr BuiltinType kType = BuiltinType::elliott_triple_combo;
  static constexpr double kDefaultWidth = 2.0;

  std::vector<Point> anchors;
  bool show_labels = true;

  void write_fields(JsonWriter& w) const {
    json_entry(w, "points", anchors);
    json_entry(w, "show_labels", show_labels);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
