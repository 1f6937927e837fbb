// Cypher pattern: the XABCD pattern's drawing under its own identity.
#include "primitives/catalog/patterns/cypher_pattern.hpp"

#include "primitives/catalog/patterns/xabcd_pattern.hpp"

namespace qc::primitives::catalog {

void CypherPattern::render(RenderContext& ctx, bool) const { draw(ctx, XabcdPattern::kLook); }

std::unique_ptr<Primitive> create_cypher_pattern(std::span<const Point> points, std::string_view color) {
  return CypherPattern::create(points, color);
}

}  // namespace qc::primitives::catalog
