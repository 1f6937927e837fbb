// Custom event: the JSON form of its marker styles and the drawing of each style.
#include "primitives/catalog/events/custom_event.hpp"

#include <cmath>
#include <numbers>

#include "util/numbers.hpp"

namespace qc::primitives::catalog {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
// Spelled out for compilers that do not deduce an aggregate's template arguments (clang 16).
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// Draws one marker style about the pixel point (x, y); s is the marker size, h half of it.
struct MarkerPainter {
  RenderContext& ctx;
  const PrimitiveData& data;
  PixelSnap snap;
  double x, y, s, h;

  void fill_or_stroke(bool filled) const {
    if (filled) {
      ctx.fill();
    } else {
      ctx.stroke();
    }
  }

  void operator()(const custom_marker::Circle& m) const {
    circle_path(ctx, snap, {x, y}, h);
    fill_or_stroke(m.filled);
  }
  void operator()(const custom_marker::Square& m) const {
    if (m.filled) {
      ctx.fill_rect(snap(x - h), snap(y - h), s, s);
    } else {
      ctx.stroke_rect(snap(x - h), snap(y - h), s, s);
    }
  }
  void operator()(const custom_marker::Diamond& m) const {
    diamond_path(ctx, snap, {x, y}, h);
    fill_or_stroke(m.filled);
  }
  void operator()(const custom_marker::Triangle& m) const {
    const double d = m.up ? h : -h;  // apex above the centre when up
    triangle_path(ctx, snap, {x, y - d}, {x - h, y + d}, {x + h, y + d});
    fill_or_stroke(m.filled);
  }
  // Alternating outer (h) and inner (0.4 h) vertices, the first straight above the centre; always filled.
  // A star of no points has no vertex and draws nothing: a path of a bare close is not valid path data.
  void operator()(const custom_marker::Star& m) const {
    if (m.points == 0) return;
    const unsigned vertices = 2u * m.points;
    ctx.begin_path();
    for (unsigned i = 0; i < vertices; ++i) {
      const double r = i % 2 == 0 ? h : 0.4 * h;
      const double a = i * std::numbers::pi / m.points - std::numbers::pi / 2;
      const double vx = snap(x + r * std::cos(a));
      const double vy = snap(y + r * std::sin(a));
      if (i == 0) {
        ctx.move_to(vx, vy);
      } else {
        ctx.line_to(vx, vy);
      }
    }
    ctx.close_path();
    ctx.fill();
  }
  void operator()(const custom_marker::Cross&) const {
    diagonal_cross_path(ctx, snap, {x, y}, h);
    ctx.stroke();
  }
  void operator()(const custom_marker::Plus&) const {
    ctx.begin_path();
    ctx.move_to(snap(x - h), snap(y));
    ctx.line_to(snap(x + h), snap(y));
    ctx.move_to(snap(x), snap(y - h));
    ctx.line_to(snap(x), snap(y + h));
    ctx.stroke();
  }
  void operator()(const custom_marker::Arrow& m) const {
    const double d = m.up ? h : -h;
    triangle_path(ctx, snap, {x, y - d}, {x - 0.7 * h, y + 0.5 * d}, {x + 0.7 * h, y + 0.5 * d});
    ctx.fill();
  }
  void operator()(const custom_marker::Icon& m) const {
    if (m.icon.empty()) return;
    std::string font;
    util::append_shortest_fixed(font, s);
    font += "px sans-serif";
    ctx.set_font(font);
    ctx.fill_text(m.icon, x - s / 3, y + s / 3);
  }
  // Text widths are estimated at 7 px per byte for 12 px text.
  void operator()(const custom_marker::Label& m) const {
    if (m.text.empty()) return;
    const double n = byte_length(m.text);
    if (m.background) {
      const double w = 7 * n + 8;
      ctx.set_global_alpha(0.8);
      ctx.fill_rect(snap(x - w / 2), snap(y - 8), w, 16);
      ctx.set_global_alpha(1.0);
      ctx.set_fill_color("#FFFFFF");
    }
    ctx.set_font("12px sans-serif");
    ctx.fill_text(m.text, x - 3.5 * n, y + 4);
  }
  void operator()(const custom_marker::Badge& m) const {
    if (m.text.empty()) return;
    const double n = byte_length(m.text);
    const double w = 7 * n + 12;
    ctx.fill_rect(snap(x - w / 2), snap(y - 9), w, 18);
    ctx.set_fill_color("#FFFFFF");
    ctx.set_font("11px sans-serif");
    ctx.fill_text(m.text, x - 3 * n, y + 4);
  }
  void operator()(const custom_marker::Path&) const {
    circle_path(ctx, snap, {x, y}, h);
    ctx.stroke();
  }
};

}  // namespace

void custom_marker::write_json(JsonWriter& w, const CustomEventStyle& style) {
  w.begin_object();
  std::visit([&w](const auto& m) { json_entry(w, "type", m.kName); }, style);
  std::visit(Overloaded{
                 [&](const custom_marker::Circle& m) { json_entry(w, "filled", m.filled); },
                 [&](const custom_marker::Square& m) { json_entry(w, "filled", m.filled); },
                 [&](const custom_marker::Diamond& m) { json_entry(w, "filled", m.filled); },
                 [&](const custom_marker::Triangle& m) {
                   json_entry(w, "up", m.up);
                   json_entry(w, "filled", m.filled);
                 },
                 [&](const custom_marker::Star& m) { json_entry(w, "points", m.points); },
                 [&](const custom_marker::Cross&) {},
                 [&](const custom_marker::Plus&) {},
                 [&](const custom_marker::Arrow& m) { json_entry(w, "up", m.up); },
                 [&](const custom_marker::Icon& m) { json_entry(w, "icon", m.icon); },
                 [&](const custom_marker::Label& m) {
                   json_entry(w, "text", m.text);
                   json_entry(w, "background", m.background);
                 },
                 [&](const custom_marker::Badge& m) { json_entry(w, "text", m.text); },
                 [&](const custom_marker::Path& m) { json_entry(w, "path_data", m.path_data); },
             },
             style);
  w.end_object();
}

void CustomEvent::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x = ctx.bar_to_x(bar);
  const double y = ctx.price_to_y(price);
  paint_in_stroke_color(ctx, data_);
  std::visit(MarkerPainter{ctx, data_, snap, x, y, size, size / 2}, style);
}

// Always above the marker.
std::optional<TextAnchor> CustomEvent::text_anchor(const RenderContext& ctx) const {
  return above_marker_text_anchor(data_, ctx, {bar, price}, size);
}

std::unique_ptr<Primitive> create_custom_event(std::span<const Point> points, std::string_view color) {
  return CustomEvent::create(points, color);
}

}  // namespace qc::primitives::catalog
