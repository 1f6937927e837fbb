// Cypher pattern: a five-point harmonic pattern drawn exactly as the XABCD pattern.
#pragma once

#include "primitives/catalog/patterns/turning_points.hpp"

namespace qc::primitives::catalog {

class CypherPattern final : public HarmonicPattern<CypherPattern, 5> {
 public:
  static constexpr BuiltinType kType = BuiltinType::cypher_pattern;
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
