// Gann box: a box between two corners with both diagonals and an optional grid of equal divisions.
#pragma once

#include <cstdint>
#include <optional>

#include "primitives/catalog/gann/two_anchor.hpp"

namespace qc::primitives::catalog {

class GannBox final : public GannTwoAnchor<GannBox> {
 public:
  static constexpr BuiltinType kType = BuiltinType::gann_box;
  static constexpr Point kSecondOffset = {20.0, -10.0};

  bool show_grid = true;
  std::uint8_t divisions = 4;  // equal parts per side of the grid

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
