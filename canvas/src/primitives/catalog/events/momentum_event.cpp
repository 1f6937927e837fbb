// Momentum event glyphs: double chevron, falling bars, crossed circle, S-curve, band with triangle, and
// the circled "M" of the indicator events.
#include "primitives/catalog/events/momentum_event.hpp"

namespace qc::primitives::catalog {

namespace {

enum class MomentumGlyph : std::uint8_t { DoubleChevron, FallingBars, CrossedCircle, SCurve, Band, CircledM };

constexpr MomentumGlyph glyph_of(MomentumEventType v) noexcept {
  using enum MomentumEventType;
  switch (v) {
    case Acceleration: case Building: return MomentumGlyph::DoubleChevron;
    case Deceleration: case Fading: return MomentumGlyph::FallingBars;
    case Exhaustion: return MomentumGlyph::CrossedCircle;
    case Shift: return MomentumGlyph::SCurve;
    case Oversold: case Overbought: return MomentumGlyph::Band;
    default: return MomentumGlyph::CircledM;
  }
}

}  // namespace

void MomentumEvent::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  const double s = size;
  const double h = s / 2;
  ctx.set_global_alpha(strength * 0.5 + 0.5);
  paint_in_stroke_color(ctx, data_);
  switch (glyph_of(event_type)) {
    case MomentumGlyph::DoubleChevron:
      triangle_path(ctx, snap, {x, y - h}, {x - s / 3, y - s / 6}, {x + s / 3, y - s / 6});
      ctx.fill();
      triangle_path(ctx, snap, {x, y + s / 6}, {x - s / 3, y + h}, {x + s / 3, y + h});
      ctx.fill();
      break;
    case MomentumGlyph::FallingBars: {
      // Three vertically centred bars of width s/6 with 2 px gaps, each shorter than the last.
      static constexpr double kHeights[] = {1.0, 0.7, 0.4};
      for (int i = 0; i < 3; ++i) {
        const double b = kHeights[i] * s * 0.8;
        ctx.fill_rect(snap(x - h + i * (2 + s / 6)), snap(y - b / 2), s / 6, b);
      }
      break;
    }
    case MomentumGlyph::CrossedCircle:
      diagonal_cross_path(ctx, snap, {x, y}, h);
      ctx.stroke();
      circle_path(ctx, snap, {x, y}, s / 1.5);
      ctx.stroke();
      break;
    case MomentumGlyph::SCurve:
      ctx.begin_path();
      ctx.move_to(snap(x - h), snap(y));
      ctx.bezier_curve_to(snap(x - s / 4), snap(y - s / 3), snap(x + s / 4), snap(y + s / 3), snap(x + h), snap(y));
      ctx.stroke();
      break;
    case MomentumGlyph::Band: {
      // A faint band with a full-strength triangle pointing away from the extreme: up when oversold.
      ctx.set_global_alpha(0.3);
      ctx.fill_rect(snap(x - s), snap(y - s / 6), 2 * s, s / 3);
      ctx.set_global_alpha(1.0);
      const double apex = event_type == MomentumEventType::Oversold ? y - h : y + h;
      triangle_path(ctx, snap, {x, apex}, {x - s / 3, y}, {x + s / 3, y});
      ctx.fill();
      break;
    }
    case MomentumGlyph::CircledM:
      circle_path(ctx, snap, {x, y}, h);
      ctx.stroke();
      ctx.set_font("10px sans-serif");
      ctx.set_fill_color(data_.color.stroke);
      ctx.fill_text("M", x - 4, y + 4);
      break;
  }
  ctx.set_global_alpha(1.0);
}

// Below the glyph for acceleration, oversold and building; above it for every other event.
std::optional<TextAnchor> MomentumEvent::text_anchor(const RenderContext& ctx) const {
  return marker_text_anchor(data_, ctx, {bar, price}, [this](const PrimitiveText& text) {
    using enum MomentumEventType;
    const double offset = size + text.font_size;
    const bool below = event_type == Acceleration || event_type == Oversold || event_type == Building;
    return below ? offset : -offset;
  });
}

std::unique_ptr<Primitive> create_momentum_event(std::span<const Point> points, std::string_view color) {
  return MomentumEvent::create(points, color);
}

}  // namespace qc::primitives::catalog
