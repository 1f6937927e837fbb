// Elliott correction: the wave line and the labels Start, A, B, C.
#include "primitives/catalog/elliott/elliott_correction.hpp"

namespace qc::primitives::catalog {

std::string_view json_name(CorrectionType type) noexcept {
  switch (type) {
    case CorrectionType::Zigzag: return "Zigzag";
    case CorrectionType::Flat: return "Flat";
    case CorrectionType::Expanded: return "Expanded";
    case CorrectionType::Running: return "Running";
  }
  return "Zigzag";
}

void ElliottCorrection::render(RenderContext& ctx, bool) const {
  static constexpr std::string_view kLabels[] = {"Start", "A", "B", "C"};
  draw(ctx, kLabels);
}

std::unique_ptr<Primitive> create_elliott_correction(std::span<const Point> points, std::string_view color) {
  return ElliottCorrection::create(points, color);
}

}  // namespace qc::primitives::catalog
