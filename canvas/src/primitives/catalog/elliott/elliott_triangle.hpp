// Elliott triangle: five waves through six points labelled Start, A to E, with dashed trendlines.
#pragma once

#include "primitives/catalog/elliott/wave.hpp"

namespace qc::primitives::catalog {

class ElliottTriangle final : public ElliottWave<ElliottTriangle, 6> {
 public:
  static constexpr BuiltinType kType = BuiltinType::elliott_triangle;

  bool show_trendlines = true;

  void write_fields(JsonWriter& w) const {
    write_wave_fields(w);
    json_entry(w, "show_trendlines", show_trendlines);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
