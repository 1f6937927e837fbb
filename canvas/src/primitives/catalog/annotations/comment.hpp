// Comment: a speech-bubble icon at one anchor with an author and a time stamp.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "primitives/catalog/annotations/point_anchor.hpp"

namespace qc::primitives::catalog {

class Comment final : public PrimitiveBase<Comment> {
 public:
  static constexpr BuiltinType kType = BuiltinType::comment;
  static constexpr double kDefaultWidth = 1.0;

  double bar = 0.0;
  double price = 0.0;
  std::string text;  // the caller's words, kept and written; a host draws data.text
  static constexpr auto kWords = &Comment::text;
  std::string author;
  std::uint64_t timestamp = 0;

  static constexpr auto anchor_fields() { return bar_price_anchor<Comment>(); }
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
