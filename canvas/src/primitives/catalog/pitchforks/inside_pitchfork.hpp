// Inside pitchfork: tines parallel to the median from P1, one unit of ratio being the pixel shift from the
// midpoint of the swing points back towards P2; it has no label.
#pragma once

#include "primitives/catalog/pitchforks/pitchfork_base.hpp"

namespace qc::primitives::catalog {

class InsidePitchfork final : public PitchforkBase<InsidePitchfork> {
 public:
  static constexpr BuiltinType kType = BuiltinType::inside_pitchfork;

  void render(RenderContext& ctx, bool) const override {
    const Point m = median_end();
    // Measured towards P2 and subtracted, so that ratio 1 still runs through P3.
    draw(ctx, {bar1, price1}, {m.bar + (bar2 - bar3) * 0.5, m.price + (price2 - price3) * 0.5}, -1.0,
         TineDashFallback::RecordStyle);
  }
};

}  // namespace qc::primitives::catalog
