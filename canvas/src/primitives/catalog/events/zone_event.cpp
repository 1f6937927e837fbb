// Zone event geometry: the zone rectangle on whole device pixels, its state-dependent fill and outline,
// and the test-count badge in its upper right corner.
#include "primitives/catalog/events/zone_event.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qc::primitives::catalog {

namespace {

struct ZoneLook {
  double fill_opacity;
  bool dashed;
};

constexpr ZoneLook look_of(ZoneAction action) noexcept {
  switch (action) {
    case ZoneAction::Created: return {0.6, false};
    case ZoneAction::Tested: return {0.5, false};
    case ZoneAction::Broken: return {0.2, true};
    case ZoneAction::Mitigated: return {0.2, true};
    case ZoneAction::Active: return {0.6, false};
  }
  return {0.6, false};
}

}  // namespace

void ZoneEvent::render(RenderContext& ctx, bool) const {
  static constexpr double kSpentDash[] = {4.0, 4.0};
  const double dpr = ctx.dpr();
  const double x1 = ctx.bar_to_x(bar1);
  const double x2 = ctx.bar_to_x(bar2);
  const double y1 = ctx.price_to_y(price_high);
  const double y2 = ctx.price_to_y(price_low);
  // Whole device pixels, without the half-pixel offset of line snapping. The rectangle is normalised so
  // that a zone given right-to-left or bottom-to-top keeps a positive size: SVG does not draw a
  // rectangle of negative width or height.
  const auto grid = [dpr](double v) { return std::round(v * dpr) / dpr; };
  const double gx1 = grid(x1), gx2 = grid(x2), gy1 = grid(y1), gy2 = grid(y2);
  const double rx = std::min(gx1, gx2);
  const double ry = std::min(gy1, gy2);
  const double rw = std::abs(gx2 - gx1);
  const double rh = std::abs(gy2 - gy1);

  const ZoneLook look = look_of(action);
  const double alpha = look.fill_opacity * strength;
  ctx.set_global_alpha(alpha);
  ctx.set_fill_color(data_.color.stroke);
  ctx.fill_rect(rx, ry, rw, rh);

  ctx.set_global_alpha(alpha + 0.3);
  ctx.set_stroke_color(data_.color.stroke);
  ctx.set_stroke_width(data_.width);
  if (look.dashed) {
    ctx.save();
    ctx.set_line_dash(kSpentDash);
    ctx.stroke_rect(rx, ry, rw, rh);
    ctx.restore();
  } else {
    ctx.stroke_rect(rx, ry, rw, rh);
  }
  ctx.set_global_alpha(1.0);

  if (test_count == 0) return;
  const double cx = rx + rw - 12.0;
  const double cy = ry + 12.0;
  ctx.set_fill_color(data_.color.stroke);
  ctx.begin_path();
  ctx.arc(cx, cy, 8.0, 0.0, kFullTurn);
  ctx.fill();
  ctx.set_fill_color("#FFFFFF");
  ctx.set_font("10px sans-serif");
  char digits[10];
  const auto end = std::to_chars(digits, digits + sizeof digits, test_count).ptr;
  ctx.fill_text(std::string_view(digits, static_cast<std::size_t>(end - digits)), cx - 3.0, cy + 3.0);
}

// At the zone's left edge, halfway between its prices.
std::optional<TextAnchor> ZoneEvent::text_anchor(const RenderContext& ctx) const {
  if (label_text(data_) == nullptr) return std::nullopt;
  return TextAnchor::make(data_.color.stroke, ctx.bar_to_x(bar1) + 5.0, ctx.price_to_y((price_high + price_low) * 0.5));
}

std::unique_ptr<Primitive> create_zone_event(std::span<const Point> points, std::string_view color) {
  return ZoneEvent::create(points, color);
}

}  // namespace qc::primitives::catalog
