// Candlestick, line and area series: pixel snapping, per-candle colours, line shapes, dash patterns and the
// area's fill.
#include "render/chart/series.hpp"

#include <cmath>
#include <optional>
#include <vector>

namespace qc::render {
namespace {

Color parse_or_black(std::string_view text) { return css_or(text, kOpaqueBlack); }

// The style's colours parsed once; a candle's own override texts are parsed where they occur.
struct CandleColors {
  Color body_up, body_down, wick_up, wick_down;
  std::optional<Color> wick_all;  // the style's wick_color, when set
  std::optional<Color> border_all, border_up, border_down;

  explicit CandleColors(const model::CandlestickStyleOptions& s)
      : body_up(parse_or_black(s.body_up_color)),
        body_down(parse_or_black(s.body_down_color)),
        wick_up(parse_or_black(s.wick_up_color)),
        wick_down(parse_or_black(s.wick_down_color)) {
    if (!s.wick_color.empty()) wick_all = parse_or_black(s.wick_color);
    if (!s.border_color.empty()) border_all = parse_or_black(s.border_color);
    if (s.border_visible) {
      border_up = parse_or_black(s.border_up_color);
      border_down = parse_or_black(s.border_down_color);
    }
  }

  Color body(const model::CandlestickData& c) const {
    if (c.body_color) return parse_or_black(*c.body_color);
    return c.close < c.open ? body_down : body_up;
  }
  Color wick(const model::CandlestickData& c) const {
    if (c.wick_color) return parse_or_black(*c.wick_color);
    if (wick_all) return *wick_all;
    return c.close >= c.open ? wick_up : wick_down;
  }
  std::optional<Color> border(const model::CandlestickData& c) const {
    if (c.border_color) return parse_or_black(*c.border_color);
    if (border_all) return border_all;
    return c.close >= c.open ? border_up : border_down;
  }
};

}  // namespace

void render_candlesticks(RenderBatch& batch, std::span<const model::CandlestickData> candles,
                         const model::CandlestickStyleOptions& style, double spacing,
                         const coords::PriceMapping& price, double candle_width, double dpr,
                         std::size_t first_slot) {
  if (candles.empty()) return;
  const double r = dpr;
  const double pixel = 1.0 / r;
  auto snap = [r](double v) { return std::floor(v * r) / r; };
  const double body_width = std::fmax(std::round(candle_width * r) / r, pixel);  // NaN gives one pixel
  const CandleColors colors(style);
  const bool borders = style.border_visible || !style.border_color.empty();
  batch.reserve(batch.commands().size() + candles.size() * (1 + (style.wick_visible ? 1 : 0) + (borders ? 1 : 0)));

  for (std::size_t i = 0; i < candles.size(); ++i) {
    const model::CandlestickData& c = candles[i];
    if (std::isnan(c.open) || std::isnan(c.high) || std::isnan(c.low) || std::isnan(c.close)) continue;
    const double xc = coords::bar_x(first_slot + i, spacing);

    if (style.wick_visible) {
      const double x = snap(xc) + 0.5 / r;
      batch.push(cmd::Line{StrokeStyle::solid(1.0, colors.wick(c)), x, snap(price.y(c.high)) + 0.5 / r, x,
                           snap(price.y(c.low)) + 0.5 / r});
    }

    const double y_open = price.y(c.open), y_close = price.y(c.close);
    const double top = std::fmin(y_open, y_close);
    const double h = std::fmax(std::fmax(y_open, y_close) - top, pixel);
    const double left = xc - body_width / 2;
    const double x0 = snap(left), y0 = snap(top), x1 = snap(left + body_width), y1 = snap(top + h);
    const Rect body{x0, y0, std::fmax(x1 - x0, pixel), std::fmax(y1 - y0, pixel)};
    batch.push(cmd::FillRect{body, colors.body(c)});

    if (const std::optional<Color> border = colors.border(c)) {
      batch.push(cmd::StrokeRect{StrokeStyle::solid(1.0, *border), body});
    }
  }
}

namespace {

constexpr std::size_t kCurveSamplesPerSpan = 10;

// Uniform Catmull-Rom spline through the points, sampled evenly per span, ending on the last point.
void curve_through(PathBuilder& path, std::span<const PixelPoint> p) {
  const std::size_t n = p.size();
  auto sample = [](double p0, double p1, double p2, double p3, double t) {
    return 0.5 * (2 * p1 + (p2 - p0) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t * t +
                  (3 * p1 - p0 - 3 * p2 + p3) * t * t * t);
  };
  bool first = true;
  for (std::size_t k = 0; k + 1 < n; ++k) {
    const PixelPoint& p0 = p[k == 0 ? 0 : k - 1];
    const PixelPoint& p1 = p[k];
    const PixelPoint& p2 = p[k + 1];
    const PixelPoint& p3 = p[k + 2 < n ? k + 2 : n - 1];
    for (std::size_t j = 0; j < kCurveSamplesPerSpan; ++j) {
      const double t = static_cast<double>(j) / kCurveSamplesPerSpan;
      const double x = sample(p0.x, p1.x, p2.x, p3.x, t), y = sample(p0.y, p1.y, p2.y, p3.y, t);
      first ? path.move_to(x, y) : path.line_to(x, y);
      first = false;
    }
  }
  path.line_to(p[n - 1].x, p[n - 1].y);
}

void straight_through(PathBuilder& path, std::span<const PixelPoint> p) {
  path.move_to(p[0].x, p[0].y);
  for (const PixelPoint& q : p.subspan(1)) path.line_to(q.x, q.y);
}

Path line_path(std::span<const PixelPoint> p, model::LineType type) {
  PathBuilder path = PathBuilder::with_capacity(16);
  switch (type) {
    case model::LineType::Straight:
      straight_through(path, p);
      break;
    case model::LineType::Stepped:
      path.move_to(p[0].x, p[0].y);
      for (std::size_t k = 1; k < p.size(); ++k) path.line_to(p[k].x, p[k - 1].y).line_to(p[k].x, p[k].y);
      break;
    default:  // Curved, and any code above it
      if (p.size() == 2) {
        path.move_to(p[0].x, p[0].y).line_to(p[1].x, p[1].y);
      } else if (p.size() > 2) {
        curve_through(path, p);
      }
      break;
  }
  return path.build();
}

// Dash pattern of a line-style code, in units of the line width.
std::optional<std::vector<double>> line_dash(std::uint8_t code, double w) {
  switch (code) {
    case 1: return std::vector<double>{w, w};
    case 2: return std::vector<double>{2 * w, 2 * w};
    case 3: return std::vector<double>{6 * w, 6 * w};
    case 4: return std::vector<double>{w, 4 * w};
    default: return std::nullopt;
  }
}

}  // namespace

namespace {

std::vector<PixelPoint> project(std::span<const model::LineData> points, double spacing,
                                const coords::PriceMapping& price) {
  std::vector<PixelPoint> projected;
  projected.reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!std::isnan(points[i].value)) projected.push_back({coords::bar_x(i, spacing), price.y(points[i].value)});
  }
  return projected;
}

void push_line(RenderBatch& batch, std::span<const PixelPoint> projected, const model::LineStyleOptions& options,
               Color color) {
  const double width = static_cast<double>(options.line_width);
  batch.push(cmd::StrokePath{line_path(projected, options.line_type),
                             StrokeStyle{line_dash(options.line_style, width), width, color}});
  if (options.point_markers_visible && options.point_radius) {
    for (const PixelPoint& p : projected) batch.push(cmd::FillCircle{p.x, p.y, *options.point_radius, color});
  }
}

// The region between the straight line through the points and the pane's foot, in the line colour at
// opacity 0.4 at the top of the region fading to transparent at its bottom, whatever the colour's own alpha.
void push_area_fill(RenderBatch& batch, std::span<const PixelPoint> p, Color color, double foot) {
  PathBuilder path = PathBuilder::with_capacity(16);
  straight_through(path, p);
  path.line_to(p.back().x, foot).line_to(p[0].x, foot).close();
  Color top = color, bottom = color;
  top.a = 102;  // 0.4 × 255
  bottom.a = 0;
  batch.push(cmd::FillPath{path.build(), LinearGradient{{{0.0, top}, {1.0, bottom}}, 0.0, 0.0, 0.0, 1.0}});
}

}  // namespace

void render_line(RenderBatch& batch, std::span<const model::LineData> points,
                 const model::LineStyleOptions& options, double spacing, const coords::PriceMapping& price) {
  if (points.empty() || !options.visible) return;
  const std::vector<PixelPoint> projected = project(points, spacing, price);
  if (projected.empty()) return;
  push_line(batch, projected, options, parse_or_black(options.color));
}

void render_area(RenderBatch& batch, std::span<const model::LineData> points,
                 const model::LineStyleOptions& options, double spacing, const coords::PriceMapping& price) {
  if (points.empty() || !options.visible) return;
  const std::vector<PixelPoint> projected = project(points, spacing, price);
  if (projected.empty()) return;
  const Color color = parse_or_black(options.color);
  if (projected.size() >= 2) push_area_fill(batch, projected, color, price.bottom);
  push_line(batch, projected, options, color);
}

}  // namespace qc::render
