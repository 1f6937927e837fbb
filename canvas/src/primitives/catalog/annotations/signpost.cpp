// Signpost geometry: a five-sided post 20 px thick and 40 px long, drawn along its direction.
#include "primitives/catalog/annotations/signpost.hpp"

#include <array>

#include "primitives/catalog/annotations/icon_paint.hpp"
#include "primitives/catalog/common/drawing.hpp"

namespace qc::primitives::catalog {

std::string_view json_name(SignpostDirection direction) noexcept {
  switch (direction) {
    case SignpostDirection::Right: return "Right";
    case SignpostDirection::Left: return "Left";
    case SignpostDirection::Up: return "Up";
    case SignpostDirection::Down: return "Down";
  }
  return "Right";
}

namespace {

// Unit step along the direction: (1, 0) right, (0, -1) up (pixels grow downwards).
struct Axis {
  double dx, dy;
};

constexpr Axis axis_of(SignpostDirection direction) noexcept {
  switch (direction) {
    case SignpostDirection::Right: return {1, 0};
    case SignpostDirection::Left: return {-1, 0};
    case SignpostDirection::Up: return {0, -1};
    case SignpostDirection::Down: return {0, 1};
  }
  return {1, 0};
}

}  // namespace

void Signpost::place(std::span<const Point> points) {
  set_points(points);
  data_.text = PrimitiveText::make("Signpost");
}

void Signpost::write_fields(JsonWriter& w) const {
  json_entry(w, "bar", bar);
  json_entry(w, "price", price);
  json_entry(w, "text", text);
  json_entry(w, "direction", direction);
}

// The corners in path order, as (along, across) offsets: along runs in the direction, across is the
// perpendicular that is -y for a horizontal post and -x for a vertical one.
void Signpost::render(RenderContext& ctx, bool) const {
  static constexpr std::array<std::array<double, 2>, 5> kCorners = {
      {{0, -10}, {30, -10}, {40, 0}, {30, 10}, {0, 10}}};
  const PixelSnap s{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  const Axis a = axis_of(direction);
  const bool horizontal = a.dy == 0;
  paint_icon(ctx, data_);
  // The context empties the path when it fills, so the outline is traced again for the stroke.
  const auto post = [&] {
    ctx.begin_path();
    for (std::size_t i = 0; i < kCorners.size(); ++i) {
      const auto [along, across] = kCorners[i];
      const double px = horizontal ? x + along * a.dx : x + across;
      const double py = horizontal ? y + across : y + along * a.dy;
      if (i == 0) {
        ctx.move_to(s(px), s(py));
      } else {
        ctx.line_to(s(px), s(py));
      }
    }
    ctx.close_path();
  };
  post();
  ctx.fill();
  post();
  ctx.stroke();
}

// 45 px from the anchor in the post's direction, just past its point (the post reaches 40 px). Beside a
// horizontal post the words run away from the point, starting there to the right and ending there to the
// left; centred there, half of them would lie over the post.
std::optional<TextAnchor> Signpost::text_anchor(const RenderContext& ctx) const {
  if (!data_.text) return std::nullopt;
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  const Axis a = axis_of(direction);
  TextAnchor anchor = TextAnchor::make(data_.color.stroke, x + 45.0 * a.dx, y + 45.0 * a.dy);
  anchor.align = a.dx > 0   ? PrimitiveTextAlign::Start
                 : a.dx < 0 ? PrimitiveTextAlign::End
                            : PrimitiveTextAlign::Center;
  return anchor;
}

std::unique_ptr<Primitive> create_signpost(std::span<const Point> points, std::string_view color) {
  return Signpost::create(points, color);
}

}  // namespace qc::primitives::catalog
