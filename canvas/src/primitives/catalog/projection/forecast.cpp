// Forecast geometry: the line through P1 and P2 ends at the right edge also when P2 lies left of P1;
// two points in one pixel column end at P2's height instead.
#include "primitives/catalog/projection/forecast.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

void Forecast::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const auto [x1, y1, x2, y2] = to_pixels(ctx);
  const double w = ctx.chart_width();
  StrokeScope stroke(ctx, data_);
  const double dx = x2 - x1;
  const double t = std::abs(dx) > 0.001 ? (w - x1) / dx : 1.0;
  const double y_end = y1 + (y2 - y1) * t;
  stroke_segment(ctx, snap(x1), snap(y1), snap(w), snap(y_end));
}

std::optional<TextAnchor> Forecast::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  const double xa = ctx.bar_to_x(bar1);
  const double xb = ctx.bar_to_x(bar2);
  const double ya = ctx.price_to_y(price1);
  const double yb = ctx.price_to_y(price2);
  const PixelBox box{util::nan_min(xa, xb), util::nan_min(ya, yb), util::nan_max(xa, xb), util::nan_max(ya, yb)};
  return box_text_anchor(data_, box);
}

std::unique_ptr<Primitive> create_forecast(std::span<const Point> points, std::string_view color) {
  return Forecast::create(points, color);
}

}  // namespace qc::primitives::catalog
