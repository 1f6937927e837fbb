// Modified Schiff pitchfork: the median starts at P1's bar, halfway in price from P1 to the midpoint of the
// swing points; its tines ignore the record's line style, and it has no label.
#pragma once

#include "primitives/catalog/pitchforks/pitchfork_base.hpp"

namespace qc::primitives::catalog {

class ModifiedSchiff final : public PitchforkBase<ModifiedSchiff> {
 public:
  static constexpr BuiltinType kType = BuiltinType::modified_schiff;

  Point handle() const noexcept { return {bar1, (price1 + median_end().price) / 2}; }
  void render(RenderContext& ctx, bool) const override { draw_from(ctx, handle(), TineDashFallback::Solid); }
};

}  // namespace qc::primitives::catalog
