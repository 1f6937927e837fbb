// Elliott wave labels placed by the direction of each wave.
#include "primitives/catalog/elliott/wave.hpp"

#include <algorithm>

namespace qc::primitives::catalog {

void draw_wave_labels(RenderContext& ctx, const PrimitiveData& data, std::span<const PixelPoint> px,
                      const WaveLabels& labels) {
  ctx.set_fill_color(data.color.stroke);
  ctx.set_font("12px sans-serif");
  if (labels.centred) {
    ctx.set_text_align(1);
    ctx.set_text_baseline(1);
  }
  const std::size_t n = std::min(px.size(), labels.labels.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (labels.labels[i].empty()) continue;
    // A NaN on either side compares false and puts the label below.
    const bool rose_into = i > 0 && px[i - 1].y > px[i].y;
    ctx.fill_text(labels.labels[i], px[i].x + labels.dx, px[i].y + (rose_into ? -15.0 : 15.0));
  }
}

}  // namespace qc::primitives::catalog
