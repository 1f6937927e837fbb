// ABCD pattern: four turning points A, B, C, D with the guide A-C.
#pragma once

#include "primitives/catalog/patterns/turning_points.hpp"

namespace qc::primitives::catalog {

class AbcdPattern final : public HarmonicPattern<AbcdPattern, 4> {
 public:
  static constexpr BuiltinType kType = BuiltinType::abcd_pattern;
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
