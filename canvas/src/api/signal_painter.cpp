// Signal markers: colour by type unless the signal carries its own, shape by type, label beside it.
#include "api/signal_painter.hpp"

#include <cmath>
#include <optional>

#include "api/palette.hpp"
#include "render/engine/text_backing.hpp"

namespace qc::api {
namespace {

using render::Color;
using render::PixelPoint;

Color type_color(SignalType type) {
  switch (type) {
    case SignalType::Buy:
    case SignalType::TakeProfit:
    case SignalType::Entry: return palette::kUp;
    case SignalType::Sell:
    case SignalType::StopLoss:
    case SignalType::Exit: return palette::kDown;
    default: return palette::kCustom;
  }
}

// A glyph placed off its bar leaves this gap between the bar's low or high and its nearest edge.
constexpr double kOffBarGap = 6.0;

// An outline in the background's colour, drawn over the fill, parts a glyph from a line of its own colour.
void triangle(render::SvgBackend& out, PixelPoint a, PixelPoint b, PixelPoint c, Color color,
              const std::optional<render::StrokeStyle>& outline) {
  const PixelPoint points[] = {a, b, c};
  const auto path = render::Path::polygon(points);
  out.fill_path(path.commands, render::Solid{color});
  if (outline) out.stroke_path(path.commands, *outline);
}

void dot(render::SvgBackend& out, double x, double y, double radius, Color color,
         const std::optional<render::StrokeStyle>& outline) {
  out.fill_circle(x, y, radius, color);
  if (outline) out.stroke_circle(x, y, radius, *outline);
}

// The glyph's centre: at its price, or, for a price that is its bar's low or high, off the bar below the low
// (buy, entry) or above the high (sell, exit).
double glyph_y(const SignalConfig& s, const coords::PriceMapping& y) {
  const double py = y.y(s.price);
  if (!s.off_bar) return py;
  const double off = kOffBarGap + s.size * 12.0 / 2;
  switch (s.signal_type) {
    case SignalType::Buy:
    case SignalType::Entry: return py + off;
    case SignalType::Sell:
    case SignalType::Exit: return py - off;
    default: return py;
  }
}

}  // namespace

void draw_signals(render::SvgBackend& out, std::span<const SignalConfig> signals, const Layout& layout,
                  const coords::PriceMapping& y, render::Color background, std::optional<render::Color> line) {
  const auto drawn = [&](const SignalConfig& s) {
    return !std::isnan(s.price) &&
           !(layout.has_view() && (s.bar_index < layout.first || s.bar_index - layout.first >= layout.n));
  };
  const auto color_of = [](const SignalConfig& s) {
    return s.color ? render::css_or(*s.color, type_color(s.signal_type)) : type_color(s.signal_type);
  };
  const Color outline_color = background;
  // The glyphs first, those of one shape and colour in one element; then every label over them.
  {
    render::ShapeBatch shapes(out);
    for (const SignalConfig& s : signals) {
      if (!drawn(s)) continue;
      const double x = layout.x(s.bar_index);
      const double py = glyph_y(s, y);
      const Color c = s.signal_type == SignalType::TakeProfit ? palette::kUp
                      : s.signal_type == SignalType::StopLoss ? palette::kDown
                                                                : color_of(s);
      const std::optional<render::StrokeStyle> outline =
          line && *line == c ? std::optional(render::StrokeStyle::solid(1.0, outline_color)) : std::nullopt;
      const double half = s.size * 12.0 / 2;
      switch (s.signal_type) {
        case SignalType::Buy:
        case SignalType::Entry:
          triangle(out, {x, py - half}, {x - half, py + half}, {x + half, py + half}, c, outline);
          break;
        case SignalType::Sell:
        case SignalType::Exit:
          triangle(out, {x, py + half}, {x - half, py - half}, {x + half, py - half}, c, outline);
          break;
        default: dot(out, x, py, half, c, outline); break;
      }
    }
  }
  background.a = render::kTextBackingAlpha;
  const double plot_width = layout.plot_width;
  render::TextStyle label_style;
  label_style.font_size = 10.0;
  for (const SignalConfig& s : signals) {
    if (!drawn(s) || !s.label) continue;
    const double x = layout.x(s.bar_index);
    const double py = glyph_y(s, y);
    const double size = s.size * 12.0;
    // A label that would run past the plot, under the price scale, goes on the marker's left instead.
    label_style.color = color_of(s);
    const double width = render::estimated_text_width(*s.label, label_style.font_size);
    const bool left = x + size + width > plot_width;
    label_style.align = left ? render::TextAlign::End : render::TextAlign::Start;
    const double text_x = left ? x - size : x + size;
    // Backed, so that bars crossing the label do not cross its letters.
    out.fill_rect(render::text_backing(*s.label, label_style, text_x, py), background);
    out.text(*s.label, label_style, text_x, py);
  }
}

}  // namespace qc::api
