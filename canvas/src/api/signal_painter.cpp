// Signal markers: colour by type unless the signal carries its own, shape by type, label beside it.
#include "api/signal_painter.hpp"

#include <cmath>

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

void triangle(render::SvgBackend& out, PixelPoint a, PixelPoint b, PixelPoint c, Color color) {
  const PixelPoint points[] = {a, b, c};
  out.fill_path(render::Path::polygon(points).commands, render::Solid{color});
}

}  // namespace

void draw_signals(render::SvgBackend& out, std::span<const SignalConfig> signals, const Layout& layout,
                  const coords::PriceMapping& y, render::Color background) {
  const auto drawn = [&](const SignalConfig& s) {
    return !std::isnan(s.price) &&
           !(layout.has_view() && (s.bar_index < layout.first || s.bar_index - layout.first >= layout.n));
  };
  const auto color_of = [](const SignalConfig& s) {
    return s.color ? render::css_or(*s.color, type_color(s.signal_type)) : type_color(s.signal_type);
  };
  // The glyphs first, those of one shape and colour in one element; then every label over them.
  {
    render::ShapeBatch shapes(out);
    for (const SignalConfig& s : signals) {
      if (!drawn(s)) continue;
      const double x = layout.x(s.bar_index);
      const double py = y.y(s.price);
      const Color c = color_of(s);
      const double half = s.size * 12.0 / 2;
      switch (s.signal_type) {
        case SignalType::Buy:
        case SignalType::Entry: triangle(out, {x, py - half}, {x - half, py + half}, {x + half, py + half}, c); break;
        case SignalType::Sell:
        case SignalType::Exit: triangle(out, {x, py + half}, {x - half, py - half}, {x + half, py - half}, c); break;
        case SignalType::TakeProfit: out.fill_circle(x, py, half, palette::kUp); break;
        case SignalType::StopLoss: out.fill_circle(x, py, half, palette::kDown); break;
        default: out.fill_circle(x, py, half, c); break;
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
    const double py = y.y(s.price);
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
