// Schiff pitchfork: the median starts halfway from P1 to the midpoint of the swing points.
#pragma once

#include <optional>

#include "primitives/catalog/pitchforks/pitchfork_base.hpp"

namespace qc::primitives::catalog {

class SchiffPitchfork final : public PitchforkBase<SchiffPitchfork> {
 public:
  static constexpr BuiltinType kType = BuiltinType::schiff_pitchfork;

  Point handle() const noexcept {
    const Point m = median_end();
    return {(bar1 + m.bar) / 2, (price1 + m.price) / 2};
  }
  void render(RenderContext& ctx, bool) const override { draw_from(ctx, handle(), TineDashFallback::RecordStyle); }
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    return median_text_anchor(ctx, handle());
  }
};

}  // namespace qc::primitives::catalog
