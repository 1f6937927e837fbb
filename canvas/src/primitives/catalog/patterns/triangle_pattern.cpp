// Triangle pattern: placement, then geometry: boundaries in the record's style, dashed edges, the enclosed
// fill, the label.
#include "primitives/catalog/patterns/triangle_pattern.hpp"

#include <cmath>
#include <string>

namespace qc::primitives::catalog {

std::string_view json_name(TriangleType type) noexcept {
  switch (type) {
    case TriangleType::Symmetrical: return "Symmetrical";
    case TriangleType::Ascending: return "Ascending";
    case TriangleType::Descending: return "Descending";
    case TriangleType::Expanding: return "Expanding";
  }
  return "Symmetrical";
}

namespace {
std::string_view short_label(TriangleType type) noexcept {
  switch (type) {
    case TriangleType::Symmetrical: return "Sym";
    case TriangleType::Ascending: return "Asc";
    case TriangleType::Descending: return "Desc";
    case TriangleType::Expanding: return "Exp";
  }
  return "Sym";
}
}  // namespace

void TrianglePattern::place(std::span<const Point> given) {
  set_points(given);
  if (given.size() < 3) bar2 = bar1 + 20.0;
  if (given.size() == 3) {
    const double mirrored = price1_bottom + (price1_top - price2_top);
    if (std::isfinite(mirrored)) price2_bottom = mirrored;
  }
}

void TrianglePattern::write_fields(JsonWriter& w) const {
  json_entry(w, "bar1", bar1);
  json_entry(w, "price1_top", price1_top);
  json_entry(w, "price1_bottom", price1_bottom);
  json_entry(w, "bar2", bar2);
  json_entry(w, "price2_top", price2_top);
  json_entry(w, "price2_bottom", price2_bottom);
  json_entry(w, "triangle_type", triangle_type);
  json_entry(w, "show_labels", show_labels);
}

void TrianglePattern::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double y1t = ctx.price_to_y(price1_top);
  const double y1b = ctx.price_to_y(price1_bottom);
  const double x2 = ctx.bar_to_x(bar2);
  const double y2t = ctx.price_to_y(price2_top);
  const double y2b = ctx.price_to_y(price2_bottom);
  const PixelPoint top1{x1, y1t}, bottom1{x1, y1b}, top2{x2, y2t}, bottom2{x2, y2b};
  {
    StrokeScope stroke(ctx, data_);
    stroke_polyline(ctx, snap, std::array{top1, top2});
    stroke_polyline(ctx, snap, std::array{bottom1, bottom2});
    static constexpr double kEdgeDash[] = {3.0, 3.0};
    ctx.set_line_dash(kEdgeDash);
    stroke_polyline(ctx, snap, std::array{top1, bottom1});
    stroke_polyline(ctx, snap, std::array{top2, bottom2});
  }
  // The stroke text with an alpha pair appended: a light tint of a "#rrggbb" stroke.
  std::string tint(data_.color.stroke);
  tint += "20";
  ctx.set_fill_color(tint);
  ctx.begin_path();
  ctx.move_to(snap(x1), snap(y1t));
  ctx.line_to(snap(x2), snap(y2t));
  ctx.line_to(snap(x2), snap(y2b));
  ctx.line_to(snap(x1), snap(y1b));
  ctx.close_path();
  ctx.fill();
  if (!show_labels) return;
  ctx.set_fill_color(data_.color.stroke);
  ctx.set_font("11px sans-serif");
  ctx.fill_text(short_label(triangle_type), (x1 + x2) * 0.5 - 10.0, (y1t + y1b + y2t + y2b) * 0.25);
}

std::optional<TextAnchor> TrianglePattern::text_anchor(const RenderContext& ctx) const {
  const auto corners = points();
  return pattern_text_anchor(data_, ctx, corners);
}

std::unique_ptr<Primitive> create_triangle_pattern(std::span<const Point> points, std::string_view color) {
  return TrianglePattern::create(points, color);
}

}  // namespace qc::primitives::catalog
