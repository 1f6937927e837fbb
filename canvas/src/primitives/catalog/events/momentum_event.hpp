// Momentum event: acceleration, exhaustion, overbought ... marked by a glyph whose opacity follows the
// event's strength.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/events/markers.hpp"

namespace qc::primitives::catalog {

enum class MomentumEventType : std::uint8_t {
  Acceleration, Deceleration, Exhaustion, Shift, Oversold, Overbought, RsiDivergence, MacdDivergence, Building,
  Fading, Extreme, Neutral, Custom,
};

constexpr std::string_view json_name(MomentumEventType v) noexcept {
  return variant_name(v, std::array<std::string_view, 13>{"acceleration", "deceleration", "exhaustion", "shift",
                                                          "oversold", "overbought", "rsi_divergence",
                                                          "macd_divergence", "building", "fading", "extreme",
                                                          "neutral", "custom"});
}

class MomentumEvent final : public PrimitiveBase<MomentumEvent> {
 public:
  static constexpr BuiltinType kType = BuiltinType::momentum_event;
  static constexpr double kDefaultWidth = 2.0;
  static constexpr std::string_view kInstanceName = "Momentum Shift";

  double bar = 0.0;
  double price = 0.0;
  MomentumEventType event_type = MomentumEventType::Shift;
  double size = 14.0;            // glyph size in pixels
  double indicator_value = 0.0;  // not drawn
  std::string indicator_name;    // not drawn
  double strength = 1.0;         // the glyph's opacity is strength x 0.5 + 0.5

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<MomentumEvent>{&MomentumEvent::bar, &MomentumEvent::price}};
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "event_type", event_type);
    json_entry(w, "size", size);
    json_entry(w, "indicator_value", indicator_value);
    json_entry(w, "indicator_name", indicator_name);
    json_entry(w, "strength", strength);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
