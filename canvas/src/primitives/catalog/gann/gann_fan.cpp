// Gann fan geometry: each line aims at the origin's price plus its multiple of the price change per 100
// bars, 100 bars on.
#include "primitives/catalog/gann/gann_fan.hpp"

#include <cmath>
#include <optional>
#include <utility>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/inset_line_label.hpp"

namespace qc::primitives::catalog {

namespace {

// The unit vector of (dx, dy); a component that overflowed to infinity (a near-vertical slope from finite
// anchors) leaves the axis it lies on. None for a zero or undefined direction.
std::optional<std::pair<double, double>> unit_direction(double dx, double dy) noexcept {
  if (std::isinf(dy) && std::isfinite(dx)) return std::pair{0.0, std::copysign(1.0, dy)};
  if (std::isinf(dx) && std::isfinite(dy)) return std::pair{std::copysign(1.0, dx), 0.0};
  const double len = std::hypot(dx, dy);
  if (!(len > 0.0) || !std::isfinite(len)) return std::nullopt;
  return std::pair{dx / len, dy / len};
}

}  // namespace

void GannFan::write_fields(JsonWriter& w) const {
  write_anchor_fields(w);
  json_entry(w, "extend", extend);
  json_entry(w, "upward", upward);
}

void GannFan::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double y1 = ctx.price_to_y(price1);
  StrokeScope stroke(ctx, data_);
  // Halved before subtracting, so that far-apart finite anchors give their slope instead of inf / inf.
  const double bars = bar2 * 0.5 - bar1 * 0.5;
  const double per_100_bars = bars == 0.0 ? 100.0 : (price2 * 0.5 - price1 * 0.5) / bars * 100.0;
  const double sx = snap(x1);
  const double sy = snap(y1);
  const double reach = extension_reach(ctx);
  const double target_x = ctx.bar_to_x(bar1 + 100.0);
  for (const GannAngle& angle : kGannAngles) {
    const double delta = angle.multiple * per_100_bars * (upward ? 1.0 : -1.0);
    const double target_y = ctx.price_to_y(price1 + delta);
    ctx.begin_path();
    ctx.move_to(sx, sy);
    if (extend) {
      if (const auto dir = unit_direction(target_x - x1, target_y - y1)) {
        ctx.line_to(snap(x1 + dir->first * reach), snap(y1 + dir->second * reach));
      }
    } else if (std::isfinite(target_y)) {  // an end at infinity has no segment to draw
      ctx.line_to(snap(target_x), snap(target_y));
    }
    ctx.stroke();
  }
}

std::optional<TextAnchor> GannFan::text_anchor(const RenderContext& ctx) const {
  const double x1 = ctx.bar_to_x(bar1);
  const double y1 = ctx.price_to_y(price1);
  return inset_line_text_anchor(data_, x1, y1, ctx.bar_to_x(bar2), ctx.price_to_y(price2));
}

std::unique_ptr<Primitive> create_gann_fan(std::span<const Point> points, std::string_view color) {
  return GannFan::create(points, color);
}

}  // namespace qc::primitives::catalog
