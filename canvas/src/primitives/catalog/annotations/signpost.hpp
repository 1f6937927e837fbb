// Signpost: a filled arrow-shaped post whose flat end lies on the anchor and whose point faces a direction.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "primitives/catalog/annotations/point_anchor.hpp"

namespace qc::primitives::catalog {

enum class SignpostDirection : std::uint8_t { Right = 0, Left = 1, Up = 2, Down = 3 };
std::string_view json_name(SignpostDirection direction) noexcept;

class Signpost final : public PrimitiveBase<Signpost> {
 public:
  static constexpr BuiltinType kType = BuiltinType::signpost;
  static constexpr double kDefaultWidth = 1.0;

  double bar = 0.0;
  double price = 0.0;
  std::string text;  // the caller's words, kept and written; a host draws data.text
  static constexpr auto kWords = &Signpost::text;
  SignpostDirection direction = SignpostDirection::Right;

  static constexpr auto anchor_fields() { return bar_price_anchor<Signpost>(); }
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const;
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
