// Crossover: one point where an indicator crossed something, marked with a diagonal cross and a dot.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/events/markers.hpp"

namespace qc::primitives::catalog {

enum class CrossoverType : std::uint8_t { MovingAverage, Macd, Stochastic, PriceLevel, RsiLevel, ZeroLine, Custom };
enum class CrossoverDirection : std::uint8_t { Bullish, Bearish };

constexpr std::string_view json_name(CrossoverType v) noexcept {
  return variant_name(v, std::array<std::string_view, 7>{"moving_average", "macd", "stochastic", "price_level",
                                                         "rsi_level", "zero_line", "custom"});
}
constexpr std::string_view json_name(CrossoverDirection v) noexcept {
  return variant_name(v, std::array<std::string_view, 2>{"bullish", "bearish"});
}

class Crossover final : public PrimitiveBase<Crossover> {
 public:
  static constexpr BuiltinType kType = BuiltinType::crossover;
  static constexpr double kDefaultWidth = 2.0;

  double bar = 0.0;
  double price = 0.0;
  // Type, direction and indicator describe the event; the drawing is the same for all of them.
  CrossoverType crossover_type = CrossoverType::MovingAverage;
  CrossoverDirection direction = CrossoverDirection::Bullish;
  double size = 16.0;  // the cross spans size x size pixels
  std::string indicator_name;

  static constexpr auto anchor_fields() { return std::array{AnchorField<Crossover>{&Crossover::bar, &Crossover::price}}; }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "crossover_type", crossover_type);
    json_entry(w, "direction", direction);
    json_entry(w, "size", size);
    json_entry(w, "indicator_name", indicator_name);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
