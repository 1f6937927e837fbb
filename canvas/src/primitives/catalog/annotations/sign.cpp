// Sign geometry: solid shapes are filled without an outline, line marks are stroked, all around the anchor.
#include "primitives/catalog/annotations/sign.hpp"

#include <cmath>
#include <numbers>

#include "primitives/catalog/annotations/icon_paint.hpp"
#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"

namespace qc::primitives::catalog {

std::string_view json_name(SignType type) noexcept {
  switch (type) {
    case SignType::Circle: return "Circle";
    case SignType::Square: return "Square";
    case SignType::Diamond: return "Diamond";
    case SignType::Triangle: return "Triangle";
    case SignType::Star: return "Star";
    case SignType::Cross: return "Cross";
    case SignType::Check: return "Check";
    case SignType::X: return "X";
  }
  return "Circle";
}

void Sign::render(RenderContext& ctx, bool) const {
  const PixelSnap s{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  const double r = size * 0.5;
  paint_icon(ctx, data_);
  ctx.begin_path();
  switch (sign_type) {
    case SignType::Circle:
      ctx.arc(x, y, r, 0.0, 2.0 * std::numbers::pi);
      ctx.fill();
      break;
    case SignType::Square:
      ctx.fill_rect(s(x - r), s(y - r), size, size);
      break;
    case SignType::Diamond:
      ctx.move_to(s(x), s(y - r));
      ctx.line_to(s(x + r), s(y));
      ctx.line_to(s(x), s(y + r));
      ctx.line_to(s(x - r), s(y));
      ctx.close_path();
      ctx.fill();
      break;
    case SignType::Triangle:
      ctx.move_to(s(x), s(y - r));
      ctx.line_to(s(x + r), s(y + r));
      ctx.line_to(s(x - r), s(y + r));
      ctx.close_path();
      ctx.fill();
      break;
    case SignType::Star:
      // Five consecutive corners 72 degrees apart from straight up: the outline is a pentagon.
      for (int i = 0; i < 5; ++i) {
        const double a = (-90.0 + 72.0 * i) * std::numbers::pi / 180.0;
        const double px = s(x + r * std::cos(a));
        const double py = s(y + r * std::sin(a));
        if (i == 0) {
          ctx.move_to(px, py);
        } else {
          ctx.line_to(px, py);
        }
      }
      ctx.close_path();
      ctx.fill();
      break;
    case SignType::Cross:
      ctx.move_to(s(x - r), s(y));
      ctx.line_to(s(x + r), s(y));
      ctx.stroke();
      stroke_segment(ctx, s(x), s(y - r), s(x), s(y + r));
      break;
    case SignType::Check:
      ctx.move_to(s(x - r), s(y));
      ctx.line_to(s(x - r / 3), s(y + r / 2));
      ctx.line_to(s(x + r), s(y - r / 2));
      ctx.stroke();
      break;
    case SignType::X:
      ctx.move_to(s(x - r), s(y - r));
      ctx.line_to(s(x + r), s(y + r));
      ctx.stroke();
      stroke_segment(ctx, s(x + r), s(y - r), s(x - r), s(y + r));
      break;
  }
}

// Above, on or below the sign by v_align, half the font size plus 15 px away.
std::optional<TextAnchor> Sign::text_anchor(const RenderContext& ctx) const {
  const PrimitiveText* text = label_text(data_);
  if (text == nullptr) return std::nullopt;
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  const double off = text->font_size * 0.5 + 15.0;
  return TextAnchor::make(data_.color.stroke, x, y + align_offset(text->v_align, off));
}

std::unique_ptr<Primitive> create_sign(std::span<const Point> points, std::string_view color) {
  return Sign::create(points, color);
}

}  // namespace qc::primitives::catalog
