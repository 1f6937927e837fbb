// Volume event glyphs: three bars, three dots, crossed lines, a stack of widening bars or a checked circle.
#include "primitives/catalog/events/volume_event.hpp"

namespace qc::primitives::catalog {

namespace {

enum class VolumeGlyph : std::uint8_t { Bars, Dots, CrossedLines, Stack, Check };

constexpr VolumeGlyph glyph_of(VolumeEventType v) noexcept {
  using enum VolumeEventType;
  switch (v) {
    case Spike: case Climax: case Breakout: return VolumeGlyph::Bars;
    case DryUp: case NoDemand: case NoSupply: return VolumeGlyph::Dots;
    case Divergence: return VolumeGlyph::CrossedLines;
    case Accumulation: case Distribution: return VolumeGlyph::Stack;
    default: return VolumeGlyph::Check;
  }
}

}  // namespace

void VolumeEvent::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  const double s = size;
  const double h = s / 2;
  paint_in_stroke_color(ctx, data_);
  switch (glyph_of(event_type)) {
    case VolumeGlyph::Bars: {
      // Three bars on a common base at y + s/2, the middle one the tallest.
      static constexpr double kHeights[] = {0.5, 1.0, 0.7};
      for (int i = 0; i < 3; ++i) {
        const double f = kHeights[i];
        ctx.fill_rect(snap(x - 0.5 * s + 0.3 * s * i), snap(y + 0.5 * s - f * s), 0.25 * s, f * s);
      }
      break;
    }
    case VolumeGlyph::Dots:
      for (int i = 0; i < 3; ++i) {
        circle_path(ctx, snap, {x - s / 3 + i * s / 3, y}, 2.0);
        ctx.fill();
      }
      break;
    case VolumeGlyph::CrossedLines:
      stroke_segment(ctx, snap(x - h), snap(y - s / 4), snap(x + h), snap(y + s / 4));
      stroke_segment(ctx, snap(x - h), snap(y + s / 4), snap(x + h), snap(y - s / 4));
      break;
    case VolumeGlyph::Stack:
      // Four centred bars of height s/5, widening downwards.
      for (int i = 0; i < 4; ++i) {
        const double w = (0.4 + 0.2 * i) * s;
        ctx.fill_rect(snap(x - w / 2), snap(y - h + 1.2 * i * s / 5), w, s / 5);
      }
      break;
    case VolumeGlyph::Check:
      circle_path(ctx, snap, {x, y}, h);
      ctx.stroke();
      ctx.begin_path();
      ctx.move_to(snap(x - s / 4), snap(y - s / 4));
      ctx.line_to(snap(x), snap(y + s / 4));
      ctx.line_to(snap(x + s / 4), snap(y - s / 4));
      ctx.stroke();
      break;
  }
}

// Always above the glyph.
std::optional<TextAnchor> VolumeEvent::text_anchor(const RenderContext& ctx) const {
  return above_marker_text_anchor(data_, ctx, {bar, price}, size);
}

std::unique_ptr<Primitive> create_volume_event(std::span<const Point> points, std::string_view color) {
  return VolumeEvent::create(points, color);
}

}  // namespace qc::primitives::catalog
