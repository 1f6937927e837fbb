// Sine wave geometry: 101 snapped samples whatever the span; the amplitude is added in screen pixels, so
// a positive amplitude first swings downwards.
#include "primitives/catalog/cycles/sine_wave.hpp"

#include <cmath>
#include <numbers>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/cycles/cycle_stroke.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {
void SineWave::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const auto [x1, y1, x2, y2] = to_pixels(ctx);
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(data_.width);
  ctx.set_line_dash(cycle_dash(data_.style));
  ctx.begin_path();
  const double mid = (y1 + y2) * 0.5;
  const double span = x2 - x1;
  constexpr int kSamples = 100;
  for (int i = 0; i <= kSamples; ++i) {
    const double t = i / double{kSamples};
    const double x = snap(x1 + span * t);
    const double y = snap(mid + amplitude * std::sin(2.0 * std::numbers::pi * t * cycles));
    if (i == 0) {
      ctx.move_to(x, y);
    } else {
      ctx.line_to(x, y);
    }
  }
  ctx.stroke();
}

// Inside the wave's box: 10 px in from the left or right end, or from its crest or trough.
std::optional<TextAnchor> SineWave::text_anchor(const RenderContext& ctx) const {
  const PrimitiveText* text = label_text(data_);
  if (text == nullptr) return std::nullopt;
  const auto [x1, y1, x2, y2] = to_pixels(ctx);
  const double left = util::nan_min(x1, x2);
  const double right = util::nan_max(x1, x2);
  const double mid = (y1 + y2) * 0.5;
  const double half_font = text->font_size * 0.5;
  const double x = pick(text->h_align, left + 10.0, (left + right) * 0.5, right - 10.0);
  const double y = pick(text->v_align, mid - amplitude + 10.0 + half_font, mid, mid + amplitude - 10.0 - half_font);
  return TextAnchor::make(data_.color.stroke, x, y);
}

std::unique_ptr<Primitive> create_sine_wave(std::span<const Point> points, std::string_view color) {
  return SineWave::create(points, color);
}

}  // namespace qc::primitives::catalog
