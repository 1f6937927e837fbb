// Three drives look: numbers below the odd turning points 1, 3, 5, 7 and above the even ones.
#include "primitives/catalog/patterns/three_drives.hpp"

namespace qc::primitives::catalog {
namespace {
constexpr std::string_view kLabels[] = {"1", "2", "3", "4", "5", "6", "7"};
constexpr std::array<std::size_t, 2> kGuides[] = {{1, 3}, {3, 5}};
constexpr PatternLook kLook{kLabels, kGuides, "bold 11px sans-serif", -4.0, 15.0, -12.0};
}  // namespace

void ThreeDrives::render(RenderContext& ctx, bool) const { draw(ctx, kLook); }

std::unique_ptr<Primitive> create_three_drives(std::span<const Point> points, std::string_view color) {
  return ThreeDrives::create(points, color);
}

}  // namespace qc::primitives::catalog
