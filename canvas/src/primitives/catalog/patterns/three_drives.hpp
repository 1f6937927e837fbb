// Three drives pattern: seven turning points numbered 1 to 7 with the guides 2-4 and 4-6.
#pragma once

#include "primitives/catalog/patterns/turning_points.hpp"

namespace qc::primitives::catalog {

class ThreeDrives final : public HarmonicPattern<ThreeDrives, 7> {
 public:
  static constexpr BuiltinType kType = BuiltinType::three_drives;
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
