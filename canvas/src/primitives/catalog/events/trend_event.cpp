// Trend event glyphs: structure ticks with their labels, label boxes, the reversal arrow and the diamond.
#include "primitives/catalog/events/trend_event.hpp"

#include <numbers>

namespace qc::primitives::catalog {

namespace {

enum class TrendGlyph : std::uint8_t { StructureHigh, StructureLow, LabelBox, CurvedArrow, Diamond };

constexpr TrendGlyph glyph_of(TrendEventType v) noexcept {
  using enum TrendEventType;
  switch (v) {
    case HigherHigh: case LowerHigh: case SwingHigh: return TrendGlyph::StructureHigh;
    case HigherLow: case LowerLow: case SwingLow: return TrendGlyph::StructureLow;
    case ChangeOfCharacter: case BreakOfStructure: return TrendGlyph::LabelBox;
    case Reversal: return TrendGlyph::CurvedArrow;
    default: return TrendGlyph::Diamond;
  }
}

}  // namespace

void TrendEvent::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  const double h = size / 2;
  const std::string_view label = short_label(event_type);
  const double n = byte_length(label);
  paint_in_stroke_color(ctx, data_);
  const auto tick = [&] { stroke_segment(ctx, snap(x - h), snap(y), snap(x + h), snap(y)); };

  switch (const TrendGlyph glyph = glyph_of(event_type)) {
    case TrendGlyph::StructureHigh:
    case TrendGlyph::StructureLow: {
      const bool high = glyph == TrendGlyph::StructureHigh;
      tick();
      stroke_segment(ctx, snap(x), snap(y), snap(x), snap(high ? y - h : y + h));
      ctx.set_font("9px sans-serif");
      ctx.set_fill_color(data_.color.stroke);
      ctx.fill_text(label, x - 3 * n, high ? y - h - 4 : y + h + 10);
      break;
    }
    case TrendGlyph::LabelBox: {
      tick();
      const double w = 6 * n + 8;
      ctx.fill_rect(snap(x - w / 2), snap(y - 18), w, 14);
      ctx.set_fill_color("#FFFFFF");
      ctx.set_font("10px sans-serif");
      ctx.fill_text(label, x - 2.5 * n, y - 8);
      break;
    }
    case TrendGlyph::CurvedArrow: {
      // Half a circle (the upper half when bullish, y growing downwards) with the head at its end.
      const double start = is_bullish_context ? std::numbers::pi : 0.0;
      ctx.begin_path();
      ctx.arc(snap(x), snap(y), h, start, start + std::numbers::pi);
      ctx.stroke();
      const double tip = is_bullish_context ? x + h : x - h;
      const double base = is_bullish_context ? x + h - 4 : x - h + 4;
      triangle_path(ctx, snap, {tip, y}, {base, y - 4}, {base, y + 4});
      ctx.fill();
      break;
    }
    case TrendGlyph::Diamond:
      diamond_path(ctx, snap, {x, y}, h);
      ctx.fill();
      break;
  }
}

// Below the marker for higher highs, higher lows and swing lows; above it for every other event.
std::optional<TextAnchor> TrendEvent::text_anchor(const RenderContext& ctx) const {
  return marker_text_anchor(data_, ctx, {bar, price}, [this](const PrimitiveText& text) {
    using enum TrendEventType;
    const double offset = size + text.font_size;
    const bool below = event_type == HigherHigh || event_type == HigherLow || event_type == SwingLow;
    return below ? offset : -offset;
  });
}

std::unique_ptr<Primitive> create_trend_event(std::span<const Point> points, std::string_view color) {
  return TrendEvent::create(points, color);
}

}  // namespace qc::primitives::catalog
