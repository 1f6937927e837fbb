// Gann square: the box between two corners with concentric inner boxes, the cross through its centre and
// its diagonals.
#pragma once

#include <cstdint>
#include <optional>

#include "primitives/catalog/gann/two_anchor.hpp"

namespace qc::primitives::catalog {

class GannSquare final : public GannTwoAnchor<GannSquare> {
 public:
  static constexpr BuiltinType kType = BuiltinType::gann_square;
  static constexpr Point kSecondOffset = {20.0, -20.0};

  bool show_cardinal = true;
  bool show_ordinal = true;
  std::uint8_t levels = 3;  // divisions from the outline to the centre

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
