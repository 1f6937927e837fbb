// Price note: a dashed line from the anchor to the right edge and a label box flush with that edge.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "primitives/catalog/annotations/point_anchor.hpp"

namespace qc::primitives::catalog {

class PriceNote final : public PrimitiveBase<PriceNote> {
 public:
  static constexpr BuiltinType kType = BuiltinType::price_note;
  static constexpr double kDefaultWidth = 1.0;

  double bar = 0.0;
  double price = 0.0;
  std::string text;  // the caller's words, kept and written; the label's words when data.text is absent
  static constexpr auto kWords = &PriceNote::text;
  bool show_price = true;

  static constexpr auto anchor_fields() { return bar_price_anchor<PriceNote>(); }
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
