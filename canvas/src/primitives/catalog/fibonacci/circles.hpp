// Fib circles: one ellipse per ratio around a centre, its radii that ratio of the centre-to-edge distance.
#pragma once

#include <optional>
#include <vector>

#include "primitives/catalog/fibonacci/anchors.hpp"

namespace qc::primitives::catalog {

class FibCircles final : public fibonacci::CentreEdge<FibCircles> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fib_circles;
  static constexpr double kDefaultWidth = 1.0;

  std::vector<double> levels{0.236, 0.382, 0.5, 0.618, 0.786, 1.0, 1.272, 1.618, 2.0, 2.618};
  bool show_labels = true;  // stored and written; nothing is drawn for it

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
