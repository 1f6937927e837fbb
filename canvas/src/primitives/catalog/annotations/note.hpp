// Note: a page icon at one anchor carrying a title and a body; its label shows only when expanded.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "primitives/catalog/annotations/point_anchor.hpp"

namespace qc::primitives::catalog {

class Note final : public PrimitiveBase<Note> {
 public:
  static constexpr BuiltinType kType = BuiltinType::note;
  static constexpr double kDefaultWidth = 1.0;

  double bar = 0.0;
  double price = 0.0;
  std::string title;    // stored and written, not drawn
  std::string content;  // the caller's words, kept and written; a host draws data.text
  static constexpr auto kWords = &Note::content;
  bool expanded = false;

  static constexpr auto anchor_fields() { return bar_price_anchor<Note>(); }
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
