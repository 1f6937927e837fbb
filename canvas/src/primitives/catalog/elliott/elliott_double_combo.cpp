// Elliott double combination: the wave line and the labels W, X, Y.
#include "primitives/catalog/elliott/elliott_double_combo.hpp"

namespace qc::primitives::catalog {

void ElliottDoubleCombo::render(RenderContext& ctx, bool) const {
  static constexpr std::string_view kLabels[] = {"W", "", "", "X", "Y", "", ""};
  draw(ctx, kLabels);
}

std::unique_ptr<Primitive> create_elliott_double_combo(std::span<const Point> points, std::string_view color) {
  return ElliottDoubleCombo::create(points, color);
}

}  // namespace qc::primitives::catalog
