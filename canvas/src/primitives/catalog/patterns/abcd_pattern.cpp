// ABCD pattern look: bold letters above A, C and below B, D.
#include "primitives/catalog/patterns/abcd_pattern.hpp"

namespace qc::primitives::catalog {
namespace {
constexpr std::string_view kLabels[] = {"A", "B", "C", "D"};
constexpr std::array<std::size_t, 2> kGuides[] = {{0, 2}};
constexpr PatternLook kLook{kLabels, kGuides, "bold 12px sans-serif", -5.0, -15.0, 15.0};
}  // namespace

void AbcdPattern::render(RenderContext& ctx, bool) const { draw(ctx, kLook); }

std::unique_ptr<Primitive> create_abcd_pattern(std::span<const Point> points, std::string_view color) {
  return AbcdPattern::create(points, color);
}

}  // namespace qc::primitives::catalog
