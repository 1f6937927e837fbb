// XABCD pattern: five turning points X, A, B, C, D with the guides X-B and A-C.
#pragma once

#include "primitives/catalog/patterns/turning_points.hpp"

namespace qc::primitives::catalog {

class XabcdPattern final : public HarmonicPattern<XabcdPattern, 5> {
 public:
  static constexpr BuiltinType kType = BuiltinType::xabcd_pattern;
  static const PatternLook kLook;  // also the cypher pattern's
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
