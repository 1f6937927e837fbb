// Elliott impulse: the wave line and the wave numbers 0 to 5.
#include "primitives/catalog/elliott/elliott_impulse.hpp"

namespace qc::primitives::catalog {

std::string_view json_name(WaveDegree degree) noexcept {
  switch (degree) {
    case WaveDegree::Intermediate: return "Intermediate";
    case WaveDegree::Primary: return "Primary";
    case WaveDegree::Cycle: return "Cycle";
    case WaveDegree::Supercycle: return "Supercycle";
    case WaveDegree::Minor: return "Minor";
    case WaveDegree::Minute: return "Minute";
    case WaveDegree::Minuette: return "Minuette";
  }
  return "Intermediate";
}

void ElliottImpulse::render(RenderContext& ctx, bool) const {
  static constexpr std::string_view kLabels[] = {"0", "1", "2", "3", "4", "5"};
  draw(ctx, kLabels);
}

std::unique_ptr<Primitive> create_elliott_impulse(std::span<const Point> points, std::string_view color) {
  return ElliottImpulse::create(points, color);
}

}  // namespace qc::primitives::catalog
