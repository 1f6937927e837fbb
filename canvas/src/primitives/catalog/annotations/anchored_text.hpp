// Anchored text: a label pinned to one anchor, with an optional tinted background behind its words.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "primitives/catalog/annotations/point_anchor.hpp"

namespace qc::primitives::catalog {

class AnchoredText final : public PrimitiveBase<AnchoredText> {
 public:
  static constexpr BuiltinType kType = BuiltinType::anchored_text;
  static constexpr double kDefaultWidth = 1.0;

  double bar = 0.0;
  double price = 0.0;
  std::string text;  // the caller's words, kept and written; a host draws data.text
  static constexpr auto kWords = &AnchoredText::text;
  double font_size = 14.0;
  bool background = true;

  static constexpr auto anchor_fields() { return bar_price_anchor<AnchoredText>(); }
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const;
  void render(RenderContext&, bool) const override {}
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
