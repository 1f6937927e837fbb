// Sign: a marker of a fixed pixel size at one anchor, one of five solid shapes or three line marks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "primitives/catalog/annotations/point_anchor.hpp"

namespace qc::primitives::catalog {

enum class SignType : std::uint8_t { Circle = 0, Square = 1, Diamond = 2, Triangle = 3, Star = 4, Cross = 5, Check = 6, X = 7 };
std::string_view json_name(SignType type) noexcept;

class Sign final : public PrimitiveBase<Sign> {
 public:
  static constexpr BuiltinType kType = BuiltinType::sign;
  static constexpr double kDefaultWidth = 2.0;

  double bar = 0.0;
  double price = 0.0;
  SignType sign_type = SignType::Circle;
  double size = 20.0;  // full width and height in pixels

  static constexpr auto anchor_fields() { return bar_price_anchor<Sign>(); }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "sign_type", sign_type);
    json_entry(w, "size", size);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
