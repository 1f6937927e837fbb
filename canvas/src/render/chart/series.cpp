// Candlestick, line and area series: pixel snapping, per-candle colours, line shapes, dash patterns and the
// area's fill, lines and areas broken at the bars without a value.
#include "render/chart/series.hpp"

#include <cmath>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "render/chart/bar_marks.hpp"
#include "render/chart/device_columns.hpp"
#include "render/chart/finite_runs.hpp"

namespace qc::render {
namespace {

using namespace bar_marks;

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

  // A candle's own colour texts (bars have none) come before the style's.
  template <class Candle>
  Color body(const Candle& c) const {
    if constexpr (requires { c.body_color; }) {
      if (c.body_color) return parse_or_black(*c.body_color);
    }
    return c.close < c.open ? body_down : body_up;
  }
  template <class Candle>
  Color wick(const Candle& c) const {
    if constexpr (requires { c.wick_color; }) {
      if (c.wick_color) return parse_or_black(*c.wick_color);
    }
    if (wick_all) return *wick_all;
    return c.close >= c.open ? wick_up : wick_down;
  }
  template <class Candle>
  std::optional<Color> border(const Candle& c) const {
    if constexpr (requires { c.border_color; }) {
      if (c.border_color) return parse_or_black(*c.border_color);
    }
    if (border_all) return border_all;
    return c.close >= c.open ? border_up : border_down;
  }
};

// Where the series go: recorded as commands, or written as elements at once.
struct Recorder {
  RenderBatch& batch;
  void line(double x1, double y1, double x2, double y2, const StrokeStyle& s) { batch.push(cmd::Line{s, x1, y1, x2, y2}); }
  void fill_rect(const Rect& r, Color c) { batch.push(cmd::FillRect{r, c}); }
  void stroke_rect(const Rect& r, const StrokeStyle& s) { batch.push(cmd::StrokeRect{s, r}); }
  void fill_circle(double x, double y, double radius, Color c) { batch.push(cmd::FillCircle{x, y, radius, c}); }
  void candle(const SvgBackend::Candle& c) {
    if (c.wick) line(c.wick_x, c.wick_top, c.wick_x, c.wick_bottom, StrokeStyle::solid(c.wick_width, c.wick_color));
    fill_rect(c.body, c.body_color);
    if (c.border) stroke_rect(c.body, StrokeStyle::solid(1.0, *c.border));
  }
  void stroke_path(Path path, StrokeStyle s) { batch.push(cmd::StrokePath{std::move(path), std::move(s)}); }
  // A closed path through the points, then down to the foot under the last and back under the first.
  template <class Points>
  void fill_closed(Points each, PixelPoint first, PixelPoint last, double foot, FillKind fill) {
    PathBuilder path = PathBuilder::with_capacity(16);
    bool started = false;
    each([&](PixelPoint p) {
      started ? path.line_to(p.x, p.y) : path.move_to(p.x, p.y);
      started = true;
    });
    path.line_to(last.x, foot).line_to(first.x, foot).close();
    batch.push(cmd::FillPath{path.build(), std::move(fill)});
  }
};

struct Writer {
  SvgBackend& svg;
  void line(double x1, double y1, double x2, double y2, const StrokeStyle& s) { svg.line(x1, y1, x2, y2, s); }
  void fill_rect(const Rect& r, Color c) { svg.fill_rect(r, c); }
  void stroke_rect(const Rect& r, const StrokeStyle& s) { svg.stroke_rect(r, s); }
  void fill_circle(double x, double y, double radius, Color c) { svg.fill_circle(x, y, radius, c); }
  void candle(const SvgBackend::Candle& c) { svg.candle(c); }
  void stroke_path(const Path& path, const StrokeStyle& s) { svg.stroke_path(path.commands, s); }
  template <class Points>
  void fill_closed(Points each, PixelPoint first, PixelPoint last, double foot, const FillKind& fill) {
    LineWriter path(svg, fill);
    each([&](PixelPoint p) { path.add(p.x, p.y); });
    path.add(last.x, foot);
    path.add(first.x, foot);
    path.end_closed();
  }
};

// `Candles`: a span of candles, or a view of bars (whose items are values). A group of bars sharing a
// device column draws one candle of its aggregate filling the column.
template <class Out, class Candles>
void draw_candles(Out out, const Candles& candles, const model::CandlestickStyleOptions& style,
                  double spacing, const coords::PriceMapping& price, double candle_width, double dpr,
                  std::size_t first_slot, const DeviceColumns& columns) {
  if (candles.empty()) return;
  const DeviceGrid grid{dpr};
  const double pixel = grid.pixel;
  const double body_width = grid.body_width(candle_width);
  const CandleColors colors(style);

  // The candle c centred at xc, its body from x0 to x1 (on the device grid).
  const auto draw = [&](const auto& c, double xc, double x0, double x1) {
    SvgBackend::Candle marks;
    if (style.wick_visible) {
      marks.wick = true;
      marks.wick_width = grid.stroke_width;
      marks.wick_x = grid.hairline(xc);
      marks.wick_top = grid.hairline(price.y(c.high));
      marks.wick_bottom = grid.hairline(price.y(c.low));
      marks.wick_color = colors.wick(c);
    }
    const double y_open = price.y(c.open), y_close = price.y(c.close);
    const double top = min_of(y_open, y_close);
    const double h = max_of(max_of(y_open, y_close) - top, pixel);
    const double y0 = grid.snap(top), y1 = grid.snap(top + h);
    marks.body = {x0, y0, max_of(x1 - x0, pixel), max_of(y1 - y0, pixel)};
    marks.body_color = colors.body(c);
    marks.border = colors.border(c);
    out.candle(marks);
  };
  for_each_group(columns, 0, candles.size(), [&](std::size_t a, std::size_t b) {
    if (b - a == 1) {
      const auto& c = candles[a];
      if (!has_numbers(c)) return;
      const double xc = coords::bar_x(first_slot + a, spacing);
      const double left = xc - body_width / 2;
      draw(c, xc, grid.snap(left), grid.snap(left + body_width));
    } else if (const std::optional<Ohlc> c =
                   aggregate(candles, a, b, [](const auto& candle) { return has_numbers(candle); })) {
      const double column = columns.column(a);
      draw(*c, columns.centre(column), columns.left(column), columns.right(column));
    }
  });
}

}  // namespace

void render_candlesticks(RenderBatch& batch, std::span<const model::CandlestickData> candles,
                         const model::CandlestickStyleOptions& style, double spacing,
                         const coords::PriceMapping& price, double candle_width, double dpr,
                         std::size_t first_slot) {
  const bool borders = style.border_visible || !style.border_color.empty();
  batch.reserve(batch.commands().size() + candles.size() * (1 + (style.wick_visible ? 1 : 0) + (borders ? 1 : 0)));
  draw_candles(Recorder{batch}, candles, style, spacing, price, candle_width, dpr, first_slot, DeviceColumns{});
}

void render_candlesticks(SvgBackend& backend, model::BarsView bars,
                         const model::CandlestickStyleOptions& style, double spacing,
                         const coords::PriceMapping& price, double candle_width, double dpr,
                         const DeviceColumns& columns) {
  draw_candles(Writer{backend}, bars, style, spacing, price, candle_width, dpr, 0, columns);
}

bool closes_up(model::BarsView bars, std::size_t a, std::size_t b) {
  const std::optional<Ends> ends = priced_ends(bars, a, b, [](const model::Bar& bar) { return has_numbers(bar); });
  return ends && bars.close[ends->last] >= bars.open[ends->first];
}

void render_ohlc_bars(SvgBackend& backend, model::BarsView bars, std::string_view up_color,
                      std::string_view down_color, double spacing, const coords::PriceMapping& price,
                      double candle_width, double dpr, const DeviceColumns& columns) {
  if (bars.empty()) return;
  const DeviceGrid grid{dpr};
  const double half_width = grid.body_width(candle_width) / 2;
  const Color up = parse_or_black(up_color), down = parse_or_black(down_color);
  // The bar b centred at xc, its ticks reaching x0 and x1 (on the device grid).
  const auto draw = [&](const auto& b, double xc, double x0, double x1) {
    backend.ohlc_bar({grid.hairline(xc), grid.hairline(price.y(b.high)), grid.hairline(price.y(b.low)), x0,
                      grid.hairline(price.y(b.open)), x1, grid.hairline(price.y(b.close)), grid.stroke_width,
                      b.close >= b.open ? up : down});
  };
  for_each_group(columns, 0, bars.size(), [&](std::size_t a, std::size_t e) {
    if (e - a == 1) {
      const model::Bar b = bars[a];
      if (!all_finite(b)) return;
      const double xc = coords::bar_x(a, spacing);
      draw(b, xc, grid.snap(xc - half_width), grid.snap(xc + half_width));
    } else if (const std::optional<Ohlc> b =
                   aggregate(bars, a, e, [](const model::Bar& bar) { return all_finite(bar); })) {
      const double column = columns.column(a);
      draw(*b, columns.centre(column), columns.left(column), columns.right(column));
    }
  });
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

// What every run of a line is drawn with, settled once per series.
struct LineLook {
  Color color;
  StrokeStyle stroke;
  model::LineType type;
  std::optional<double> marker_radius;  // when markers are shown

  explicit LineLook(const model::LineStyleOptions& options)
      : color(parse_or_black(options.color)),
        stroke{line_dash(options.line_style, static_cast<double>(options.line_width)),
               static_cast<double>(options.line_width), color},
        type(options.line_type),
        marker_radius(options.point_markers_visible ? options.point_radius : std::nullopt) {}
};

// One stroked path through the finite values [first, end), then its point markers. A straight line goes to
// the backend point by point, so that a long series needs no list of its points; other shapes reuse
// `projected` from run to run.
template <class Out, class Value>
void draw_run_line(Out out, std::size_t first, std::size_t end, Value value, const LineLook& look, double spacing,
                   std::size_t origin, const coords::PriceMapping& price, const DeviceColumns& columns,
                   std::vector<PixelPoint>& projected) {
  auto for_each_point = [&](auto&& f) {
    const auto point = [&](std::size_t i) { f(PixelPoint{coords::bar_x(i, spacing, origin), price.y(value(i))}); };
    for_each_kept_point(columns, first, end, point, value);
  };
  if constexpr (std::is_same_v<Out, Writer>) {
    if (look.type == model::LineType::Straight) {
      LineWriter line(out.svg, LineWriter::Kind::path);
      for_each_point([&](PixelPoint p) { line.add(p.x, p.y); });
      line.end(look.stroke);
      if (look.marker_radius) {
        for_each_point([&](PixelPoint p) { out.fill_circle(p.x, p.y, *look.marker_radius, look.color); });
      }
      return;
    }
  }
  projected.clear();
  for_each_point([&](PixelPoint p) { projected.push_back(p); });
  out.stroke_path(line_path(projected, look.type), look.stroke);
  if (look.marker_radius) {
    for (const PixelPoint& p : projected) out.fill_circle(p.x, p.y, *look.marker_radius, look.color);
  }
}

// The region between the straight line through the finite values [first, end) and the pane's foot, in the
// line colour at opacity 0.4 at the top of the region fading to transparent at its bottom, whatever the
// colour's own alpha.
template <class Out, class Value>
void draw_run_fill(Out out, std::size_t first, std::size_t end, Value value, Color color, double spacing,
                   std::size_t origin, const coords::PriceMapping& price, const DeviceColumns& columns) {
  auto at = [&](std::size_t i) { return PixelPoint{coords::bar_x(i, spacing, origin), price.y(value(i))}; };
  auto for_each_point = [&](auto&& f) {
    for_each_kept_point(columns, first, end, [&](std::size_t i) { f(at(i)); }, value);
  };
  Color top = color, bottom = color;
  top.a = 102;  // 0.4 × 255
  bottom.a = 0;
  const LinearGradient fill{{{0.0, top}, {1.0, bottom}}, 0.0, 0.0, 0.0, 1.0};
  out.fill_closed(for_each_point, at(first), at(end - 1), price.bottom, fill);
}

// A line, or an area (each run's fill under its line), one run of finite values after another; value
// `origin` takes the first slot.
template <class Out, class Value>
void draw_series_runs(Out out, std::size_t n, Value value, const model::LineStyleOptions& options, bool area,
                      double spacing, const coords::PriceMapping& price, std::size_t origin = 0,
                      const DeviceColumns& columns = {}) {
  if (n == 0 || !options.visible) return;
  const LineLook look(options);
  std::vector<PixelPoint> projected;
  for_each_finite_run(0, n, value, [&](std::size_t first, std::size_t end) {
    if (area) draw_run_fill(out, first, end, value, look.color, spacing, origin, price, columns);
    draw_run_line(out, first, end, value, look, spacing, origin, price, columns, projected);
  });
}

}  // namespace

void render_line(RenderBatch& batch, std::span<const model::LineData> points,
                 const model::LineStyleOptions& options, double spacing, const coords::PriceMapping& price) {
  draw_series_runs(Recorder{batch}, points.size(), [&](std::size_t i) { return points[i].value; }, options, false,
                   spacing, price);
}

void render_line(SvgBackend& backend, model::BarsView bars, const model::LineStyleOptions& options,
                 double spacing, const coords::PriceMapping& price, std::size_t origin,
                 const DeviceColumns& columns) {
  draw_series_runs(Writer{backend}, bars.size(), [&](std::size_t i) { return bars.close[i]; }, options, false,
                   spacing, price, origin, columns);
}

void render_area(RenderBatch& batch, std::span<const model::LineData> points,
                 const model::LineStyleOptions& options, double spacing, const coords::PriceMapping& price) {
  draw_series_runs(Recorder{batch}, points.size(), [&](std::size_t i) { return points[i].value; }, options, true,
                   spacing, price);
}

void render_area(SvgBackend& backend, model::BarsView bars, const model::LineStyleOptions& options,
                 double spacing, const coords::PriceMapping& price, std::size_t origin,
                 const DeviceColumns& columns) {
  draw_series_runs(Writer{backend}, bars.size(), [&](std::size_t i) { return bars.close[i]; }, options, true,
                   spacing, price, origin, columns);
}

}  // namespace qc::render
