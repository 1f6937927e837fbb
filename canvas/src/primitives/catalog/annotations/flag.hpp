// Flag: a 30 px pole standing on the anchor with a pennant at its top.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "primitives/catalog/annotations/point_anchor.hpp"

namespace qc::primitives::catalog {

class Flag final : public PrimitiveBase<Flag> {
 public:
  static constexpr BuiltinType kType = BuiltinType::flag;
  static constexpr double kDefaultWidth = 2.0;

  double bar = 0.0;
  double price = 0.0;
  std::string text;  // the caller's words, kept and written; a host draws data.text
  static constexpr auto kWords = &Flag::text;
  std::string flag_color = "#F44336";

  static constexpr auto anchor_fields() { return bar_price_anchor<Flag>(); }
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
