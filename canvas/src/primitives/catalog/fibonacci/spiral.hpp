// Fib spiral: a logarithmic spiral that shrinks by the golden ratio every quarter turn towards its centre.
#pragma once

#include <optional>

#include "primitives/catalog/fibonacci/anchors.hpp"

namespace qc::primitives::catalog {

class FibSpiral final : public fibonacci::CentreEdge<FibSpiral> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fib_spiral;
  static constexpr double kDefaultWidth = 1.0;

  double rotations = 3.0;
  bool clockwise = true;
  bool flip_horizontal = false;
  bool flip_vertical = false;

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
