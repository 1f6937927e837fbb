// Callout: a box centred on its second anchor, joined by a leader line to the point it explains.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class Callout final : public PrimitiveBase<Callout> {
 public:
  static constexpr BuiltinType kType = BuiltinType::callout;
  static constexpr double kDefaultWidth = 1.0;
  // How many bars right of the point it explains a box placed for it sits, here and in the renderer.
  static constexpr double kBoxBars = 5.0;

  double bar1 = 0.0;
  double price1 = 0.0;
  double bar2 = 5.0;
  double price2 = 10.0;
  std::string text;  // the caller's words, kept and written; a host draws data.text
  static constexpr auto kWords = &Callout::text;
  double bubble_width = 100.0;  // pixels
  double bubble_height = 50.0;  // pixels

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Callout>{&Callout::bar1, &Callout::price1},
                      AnchorField<Callout>{&Callout::bar2, &Callout::price2}};
  }
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
