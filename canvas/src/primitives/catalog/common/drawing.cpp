// Pixel snapping, stroke set-up, fill colours and segment extension for the built-in primitives.
#include "primitives/catalog/common/drawing.hpp"

#include <cmath>

#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

double snap_to_pixel(double v, double dpr) noexcept { return std::round(v * dpr) / dpr + 0.5 / dpr; }

StrokeScope::StrokeScope(RenderContext& ctx, const PrimitiveData& data) : ctx_(ctx) {
  ctx.set_stroke_color(data.color.stroke);
  ctx.set_stroke_width(data.width);
  ctx.set_line_dash(line_style_dash(data.style));
}

std::span<const double> level_style_dash(std::string_view style) noexcept {
  if (style == "dotted") return line_style_dash(LineStyle::Dotted);
  if (style == "dashed") return line_style_dash(LineStyle::Dashed);
  if (style == "large_dashed") return line_style_dash(LineStyle::LargeDashed);
  if (style == "sparse_dotted") return line_style_dash(LineStyle::SparseDotted);
  return {};
}

void stroke_segment(RenderContext& ctx, double x1, double y1, double x2, double y2) {
  ctx.begin_path();
  ctx.move_to(x1, y1);
  ctx.line_to(x2, y2);
  ctx.stroke();
}

std::string fill_color_with_opacity(std::string_view stroke, double opacity) {
  static constexpr char kHex[] = "0123456789abcdef";
  const auto alpha = util::saturating_cast<std::uint8_t>(opacity * 255.0);
  std::string out;
  if (stroke.size() >= 7) {
    const bool splits_character = stroke.size() > 7 && (static_cast<unsigned char>(stroke[7]) & 0xC0) == 0x80;
    if (splits_character) return std::string(stroke);
    out.reserve(9);
    out.append(stroke.substr(0, 7));
  } else if (stroke.size() == 4 && stroke[0] == '#') {
    out.reserve(9);
    out += '#';
    for (char c : stroke.substr(1)) out.append(2, c);
  } else {
    return std::string(stroke);
  }
  out += kHex[alpha >> 4];
  out += kHex[alpha & 0xF];
  return out;
}

std::string_view json_name(ExtendMode mode) noexcept {
  switch (mode) {
    case ExtendMode::None: return "None";
    case ExtendMode::Right: return "Right";
    case ExtendMode::Left: return "Left";
    case ExtendMode::Both: return "Both";
  }
  return "None";
}

PixelSegment extend_segment(const PixelSegment& s, ExtendMode mode, double width) noexcept {
  const double dx = s.x2 - s.x1;
  const double dy = s.y2 - s.y1;
  const bool steep = std::abs(dx) <= 0.001;
  switch (mode) {
    case ExtendMode::None:
      return s;
    case ExtendMode::Right: {
      const double t = steep ? 1000.0 : (width - s.x1) / dx;
      return {s.x1, s.y1, width, s.y1 + t * dy};
    }
    case ExtendMode::Left: {
      const double t = steep ? 1000.0 : s.x1 / dx;
      return {0.0, s.y1 - t * dy, s.x2, s.y2};
    }
    case ExtendMode::Both: {
      const double tl = steep ? -1000.0 : -s.x1 / dx;
      const double tr = steep ? 1000.0 : (width - s.x1) / dx;
      return {0.0, s.y1 + tl * dy, width, s.y1 + tr * dy};
    }
  }
  return s;
}

double extension_reach(const RenderContext& ctx) { return 2.0 * (ctx.chart_width() + ctx.chart_height()); }

}  // namespace qc::primitives::catalog
