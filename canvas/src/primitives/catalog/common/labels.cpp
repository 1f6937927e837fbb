// Label placement rules shared by the built-in primitives.
#include "primitives/catalog/common/labels.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "render/engine/text_backing.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

const PrimitiveText* label_text(const PrimitiveData& data) noexcept {
  return data.text && !data.text->content.empty() ? &*data.text : nullptr;
}

std::optional<TextAnchor> line_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point a, Point b) {
  const PrimitiveText* text = label_text(data);
  if (text == nullptr) return std::nullopt;
  const double x1 = ctx.bar_to_x(a.bar);
  const double y1 = ctx.price_to_y(a.price);
  const double x2 = ctx.bar_to_x(b.bar);
  const double y2 = ctx.price_to_y(b.price);
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double len = std::sqrt(dx * dx + dy * dy);
  const double angle = std::atan2(dy, dx);
  constexpr double kHalfPi = std::numbers::pi / 2;
  double rotation = angle;
  if (angle > kHalfPi) rotation -= std::numbers::pi;
  if (angle < -kHalfPi) rotation += std::numbers::pi;
  double nx = 0.0;
  double ny = -1.0;
  if (len > 0.001) {
    nx = -dy / len;
    ny = dx / len;
  }
  if (std::abs(angle) > kHalfPi) {
    nx = -nx;
    ny = -ny;
  }
  const double t = pick(text->h_align, 0.0, 0.5, 1.0);
  const double off = align_offset(text->v_align, label_offset(*text));
  return TextAnchor::with_rotation(data.color.stroke, x1 + t * dx + off * nx, y1 + t * dy + off * ny, rotation);
}

std::optional<TextAnchor> offset_text_anchor(const PrimitiveData& data, const RenderContext& ctx, Point anchor) {
  const PrimitiveText* text = label_text(data);
  if (text == nullptr) return std::nullopt;
  const double x = ctx.bar_to_x(anchor.bar);
  const double y = ctx.price_to_y(anchor.price);
  const double off = label_offset(*text);
  return TextAnchor::make(data.color.stroke, x + align_offset(text->h_align, off), y + align_offset(text->v_align, off));
}

PixelBox chart_box(const RenderContext& ctx, std::span<const Point> points) noexcept {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  double min_bar = kNaN, max_bar = kNaN, min_price = kNaN, max_price = kNaN;
  for (const Point& p : points) {
    min_bar = util::nan_min(min_bar, p.bar);
    max_bar = util::nan_max(max_bar, p.bar);
    min_price = util::nan_min(min_price, p.price);
    max_price = util::nan_max(max_price, p.price);
  }
  const double left = ctx.bar_to_x(min_bar);
  const double right = ctx.bar_to_x(max_bar);
  const double top = ctx.price_to_y(max_price);
  const double bottom = ctx.price_to_y(min_price);
  return {left, top, right, bottom};
}

std::optional<TextAnchor> box_text_anchor(const PrimitiveData& data, const PixelBox& box) {
  const PrimitiveText* text = label_text(data);
  if (text == nullptr) return std::nullopt;
  const double half_font = text->font_size * 0.5;
  const double x = pick(text->h_align, box.left + 10.0, (box.left + box.right) * 0.5, box.right - 10.0);
  const double y = pick(text->v_align, box.top + 10.0 + half_font, (box.top + box.bottom) * 0.5,
                        box.bottom - 10.0 - half_font);
  return TextAnchor::make(data.color.stroke, x, y);
}

void fill_text_backing(RenderContext& ctx, std::string_view text, double x, double y, double font_size) {
  const std::string_view background = ctx.background_color();
  if (background.empty()) return;
  const double middle = y - baseline_below(0.0, font_size);  // the text's middle
  const render::Rect r =
      render::text_backing(ctx.measure_text(text), font_size, render::TextAlign::Start, x, middle);
  ctx.set_fill_color_alpha(background, render::kTextBackingAlpha / 255.0);
  ctx.fill_rect(r.x, r.y, r.width, r.height);
  ctx.reset_alpha();
}

void fill_caption(RenderContext& ctx, std::string_view text, std::string_view color, double x, double middle_y,
                  double font_size) {
  constexpr double kInside = 4.0;
  const double width = ctx.measure_text(text);
  x = std::min(x, ctx.chart_width() - kInside - width);
  const std::string_view background = ctx.background_color();
  if (!background.empty()) {
    const render::Rect r = render::text_backing(width, font_size, render::TextAlign::Start, x, middle_y);
    ctx.set_fill_color_alpha(background, render::kTextBackingAlpha / 255.0);
    ctx.fill_rect(r.x, r.y, r.width, r.height);
    ctx.reset_alpha();
  }
  ctx.set_fill_color(color);
  ctx.fill_text_central(text, x, middle_y, font_size);
}

}  // namespace qc::primitives::catalog
