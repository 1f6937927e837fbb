// Cycle lines: full-height vertical lines repeating the bar distance between two anchors.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class CycleLines final : public PrimitiveBase<CycleLines> {
 public:
  static constexpr BuiltinType kType = BuiltinType::cycle_lines;
  static constexpr double kDefaultWidth = 1.0;

  double bar1 = 0.0;
  double bar2 = 0.0;
  std::uint8_t count = 10;  // lines per repeated stretch
  bool extend_left = true;
  bool extend_right = true;

  // Bars only: the anchors read back at price 0 and prices are ignored.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<CycleLines>{&CycleLines::bar1, nullptr},
                      AnchorField<CycleLines>{&CycleLines::bar2, nullptr}};
  }
  // No second point: twenty bars after the first.
  void place(std::span<const Point> points);
  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  // The box rule over the span between the anchors, across the whole canvas height.
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
