// Pitchfork: the median from P1 to the midpoint of the swing points, with tines parallel to it.
#pragma once

#include <optional>

#include "primitives/catalog/pitchforks/pitchfork_base.hpp"

namespace qc::primitives::catalog {

class Pitchfork final : public PitchforkBase<Pitchfork> {
 public:
  static constexpr BuiltinType kType = BuiltinType::pitchfork;

  void render(RenderContext& ctx, bool) const override { draw_from(ctx, {bar1, price1}, TineDashFallback::RecordStyle); }
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    return median_text_anchor(ctx, {bar1, price1});
  }
};

}  // namespace qc::primitives::catalog
