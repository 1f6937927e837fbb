// Divergence: two points where price and an indicator diverge, joined by a dashed line with dots at both
// ends and a triangle at the second.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/events/markers.hpp"

namespace qc::primitives::catalog {

// The regular variants come first and the bearish ones are odd: the drawing reads exactly these two bits.
enum class DivergenceType : std::uint8_t { RegularBullish, RegularBearish, HiddenBullish, HiddenBearish };

constexpr std::string_view json_name(DivergenceType v) noexcept {
  return variant_name(v, std::array<std::string_view, 4>{"regular_bullish", "regular_bearish", "hidden_bullish",
                                                         "hidden_bearish"});
}
constexpr bool is_bearish(DivergenceType v) noexcept { return (static_cast<unsigned>(v) & 1u) != 0; }
constexpr bool is_regular(DivergenceType v) noexcept { return static_cast<unsigned>(v) < 2u; }

class Divergence final : public PrimitiveBase<Divergence> {
 public:
  static constexpr BuiltinType kType = BuiltinType::divergence;
  static constexpr double kDefaultWidth = 2.0;

  double bar1 = 0.0;
  double price1 = 0.0;
  double bar2 = 0.0;
  double price2 = 0.0;
  double indicator_value1 = 0.0;  // not drawn
  double indicator_value2 = 0.0;  // not drawn
  DivergenceType divergence_type = DivergenceType::RegularBullish;
  double line_width = 2.0;  // the connecting line's width; data.width is not used
  std::string indicator_name;

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Divergence>{&Divergence::bar1, &Divergence::price1},
                      AnchorField<Divergence>{&Divergence::bar2, &Divergence::price2}};
  }

  void place(std::span<const Point> points) {
    const Point a = point_or(points, 0, {0.0, 0.0});
    const Point b = point_or(points, 1, {a.bar + 10.0, a.price});
    bar1 = a.bar;
    price1 = a.price;
    bar2 = b.bar;
    price2 = b.price;
  }
  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar1", bar1);
    json_entry(w, "price1", price1);
    json_entry(w, "bar2", bar2);
    json_entry(w, "price2", price2);
    json_entry(w, "indicator_value1", indicator_value1);
    json_entry(w, "indicator_value2", indicator_value2);
    json_entry(w, "divergence_type", divergence_type);
    json_entry(w, "line_width", line_width);
    json_entry(w, "indicator_name", indicator_name);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
