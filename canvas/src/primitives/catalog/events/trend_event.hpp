// Trend event: a market-structure event (trend start, reversal, higher high, change of character ...)
// marked by a tick with a short label, a label box, a curved arrow or a diamond.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/events/markers.hpp"

namespace qc::primitives::catalog {

enum class TrendEventType : std::uint8_t {
  TrendStart, TrendEnd, Reversal, Continuation, HigherHigh, HigherLow, LowerHigh, LowerLow, SwingHigh, SwingLow,
  ChangeOfCharacter, BreakOfStructure, PullbackStart, PullbackEnd, Ranging, Custom,
};

constexpr std::string_view json_name(TrendEventType v) noexcept {
  return variant_name(v, std::array<std::string_view, 16>{"trend_start", "trend_end", "reversal", "continuation",
                                                          "higher_high", "higher_low", "lower_high", "lower_low",
                                                          "swing_high", "swing_low", "c_ho_c_h", "bo_s",
                                                          "pullback_start", "pullback_end", "ranging", "custom"});
}

// The fixed label text of a variant.
constexpr std::string_view short_label(TrendEventType v) noexcept {
  return variant_name(v, std::array<std::string_view, 16>{"TS", "TE", "REV", "CONT", "HH", "HL", "LH", "LL", "SH",
                                                          "SL", "CHoCH", "BoS", "PB", "PBE", "RNG", "?"});
}

class TrendEvent final : public PrimitiveBase<TrendEvent> {
 public:
  static constexpr BuiltinType kType = BuiltinType::trend_event;
  static constexpr double kDefaultWidth = 2.0;
  static constexpr std::string_view kInstanceName = "Reversal";

  double bar = 0.0;
  double price = 0.0;
  TrendEventType event_type = TrendEventType::Reversal;
  double size = 14.0;              // glyph size in pixels
  bool is_bullish_context = true;  // a reversal arrow turns over the top when true, under the bottom otherwise

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<TrendEvent>{&TrendEvent::bar, &TrendEvent::price}};
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "event_type", event_type);
    json_entry(w, "size", size);
    json_entry(w, "is_bullish_context", is_bullish_context);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
