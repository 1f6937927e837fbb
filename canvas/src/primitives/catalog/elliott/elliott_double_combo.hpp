// Elliott double combination: seven points, labelled W, X and Y at the first, fourth and fifth.
#pragma once

#include "primitives/catalog/elliott/wave.hpp"

namespace qc::primitives::catalog {

class ElliottDoubleCombo final : public ElliottWave<ElliottDoubleCombo, 7> {
 public:
  static constexpr BuiltinType kType = BuiltinType::elliott_double_combo;
  void write_fields(JsonWriter& w) const { write_wave_fields(w); }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
