// XABCD pattern look: bold letters above X, B, D and below A, C.
#include "primitives/catalog/patterns/xabcd_pattern.hpp"

namespace qc::primitives::catalog {
namespace {
constexpr std::string_view kLabels[] = {"X", "A", "B", "C", "D"};
constexpr std::array<std::size_t, 2> kGuides[] = {{0, 2}, {1, 3}};
}  // namespace

constinit const PatternLook XabcdPattern::kLook{kLabels, kGuides, "bold 12px sans-serif", -5.0, -15.0, 15.0};

void XabcdPattern::render(RenderContext& ctx, bool) const { draw(ctx, kLook); }

std::unique_ptr<Primitive> create_xabcd_pattern(std::span<const Point> points, std::string_view color) {
  return XabcdPattern::create(points, color);
}

}  // namespace qc::primitives::catalog
