// Pattern match: a recognised chart or candlestick pattern, marked by a tag shaded by the match
// confidence with a white glyph for its direction.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/events/markers.hpp"

namespace qc::primitives::catalog {

enum class PatternType : std::uint8_t {
  HeadAndShoulders, InverseHeadAndShoulders, DoubleTop, DoubleBottom, TripleTop, TripleBottom,
  AscendingTriangle, DescendingTriangle, SymmetricalTriangle, BullFlag, BearFlag, BullPennant, BearPennant,
  Rectangle, Wedge, Gartley, Butterfly, Bat, Crab, Shark, Cypher, Doji, Hammer, InvertedHammer, ShootingStar,
  HangingMan, Marubozu, SpinningTop, Engulfing, Harami, MorningStar, EveningStar, ThreeWhiteSoldiers,
  ThreeBlackCrows, Piercing, DarkCloudCover, TweezerTop, TweezerBottom, ImpulseWave, CorrectiveWave, Custom,
};

std::string_view json_name(PatternType v) noexcept;

enum class PatternDirection : std::uint8_t { Bullish, Bearish, Neutral };
PatternDirection direction_of(PatternType v) noexcept;

class PatternMatch final : public PrimitiveBase<PatternMatch> {
 public:
  static constexpr BuiltinType kType = BuiltinType::pattern_match;
  static constexpr double kDefaultWidth = 2.0;
  static constexpr std::string_view kInstanceName = "Custom Pattern";

  double bar = 0.0;
  double price = 0.0;
  double start_bar = 0.0;  // the matched pattern's bar span: moved with the marker, never drawn
  double end_bar = 0.0;
  PatternType pattern_type = PatternType::Custom;
  double confidence = 1.0;  // the tag's opacity is confidence x 0.5 + 0.5
  double size = 16.0;       // tag height in pixels; the tag is 1.5 x size wide

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<PatternMatch>{&PatternMatch::bar, &PatternMatch::price}};
  }

  void place(std::span<const Point> points) {
    const Point at = point_or(points, 0, {0.0, 0.0});
    bar = at.bar;
    price = at.price;
    start_bar = at.bar - 20.0;
    end_bar = at.bar;
  }
  void translate(double d_bar, double d_price) override {
    PrimitiveBase::translate(d_bar, d_price);
    start_bar += d_bar;
    end_bar += d_bar;
  }
  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "start_bar", start_bar);
    json_entry(w, "end_bar", end_bar);
    json_entry(w, "pattern_type", pattern_type);
    json_entry(w, "confidence", confidence);
    json_entry(w, "size", size);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
