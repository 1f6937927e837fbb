// Indicator drawing: one routine per vector style (lines broken at gaps and split by the indicator's runs,
// clouds filled against their partners), the volume band and the sub-pane frame.
#include "api/indicator_painter.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "api/cloud_painter.hpp"
#include "api/indicator_catalog.hpp"
#include "api/palette.hpp"
#include "api/value_range.hpp"
#include "render/chart/device_columns.hpp"
#include "render/chart/finite_runs.hpp"
#include "render/chart/series.hpp"
#include "render/engine/text_backing.hpp"
#include "util/extremes.hpp"

namespace qc::api {
namespace {

using render::Color;
using render::css_or;
using render::PixelPoint;
using render::StrokeStyle;

double slot_x(std::size_t k, const Layout& layout) { return layout.x(k); }

// How opaque a histogram's bars are drawn. A volume band lies behind the price series and halves its bars'
// alpha, so that a candle over a bar of its own colour still shows.
enum class BarAlpha { as_given, halved };

Color with_alpha(Color c, BarAlpha alpha) {
  if (alpha == BarAlpha::halved) c.a = static_cast<std::uint8_t>((c.a + 1) / 2);
  return c;
}

// Lines, steps and dots in a colour that does not parse are drawn white.
Color stroke_color(std::string_view css) { return css_or(css, render::kOpaqueWhite); }

Color histogram_color(const model::style::Histogram& s, bool up, const palette::UpDown& chart) {
  if (s.takes_chart_colors()) {
    const model::style::ChartShade shade = up ? s.up_shade : s.down_shade;
    Color c = shade.up ? chart.up : chart.down;
    c.a = static_cast<std::uint8_t>((c.a * shade.alpha + 127) / 255);
    return c;
  }
  return up ? css_or(s.up_color, palette::kUp) : css_or(s.down_color, palette::kDown);
}

// A bar is up by its flag where the vector carries one, else by its value's sign.
bool bar_is_up(const model::IndicatorVector& vector, std::size_t k) {
  return k < vector.up_flags.size() ? vector.up_flags[k] : vector.values[k] >= 0;
}

// Bars of width w centred on their slots, growing from the baseline. Their width is a share of the canvas
// width per bar, not of the bar spacing, so they are a little wider than the candles. A histogram that
// shares its slots fills one half of each, w / 2 wide and centred w / 4 off the slot's centre. A group of
// bars sharing a device column draws its bars as wide as the column (or its half), filling it. The colours
// and the bars' extent are settled once here, not per bar.
struct HistogramPainter {
  Color up;
  Color down;
  double left;   // the bar's left edge, from the slot's centre
  double width;  // the bar's width
  model::style::SlotPart part;
  const Layout& layout;
  render::DeviceColumns columns;

  static HistogramPainter make(const model::style::Histogram& s, const Layout& layout, BarAlpha alpha,
                               const palette::UpDown& chart) {
    const double w = layout.width / static_cast<double>(layout.n) * s.bar_width_ratio;
    const bool halved = s.part != model::style::SlotPart::whole;
    return {with_alpha(histogram_color(s, true, chart), alpha),
            with_alpha(histogram_color(s, false, chart), alpha),
            s.part == model::style::SlotPart::right_half ? 0.0 : -(w / 2),
            halved ? w / 2 : w,
            s.part,
            layout,
            layout.columns()};
  }

  void bar(render::RectWriter& rects, std::size_t k, double top, double height, bool is_up) const {
    rects.add({slot_x(k, layout) + left, top, width, height}, is_up ? up : down);
  }

  // The bar of the group starting at bar k, in the group's column.
  void column_bar(render::RectWriter& rects, std::size_t k, double top, double height, bool is_up) const {
    const double c = columns.column(k), pixel = columns.pixel();
    const bool whole = part == model::style::SlotPart::whole;
    const double x = columns.left(c) + (part == model::style::SlotPart::right_half ? pixel / 2 : 0.0);
    rects.add({x, top, whole ? pixel : pixel / 2, height}, is_up ? up : down);
  }

  // Bars [a, b) of the values, one group: alone as today, else the group's largest value when the bars'
  // direction colours it (`rises` says which), else a bar to its largest value of at least 0 in the up colour
  // and one to its most negative in the down colour. Bars grow from `baseline`, at least 1 px tall.
  template <class Rises>
  void group(render::RectWriter& rects, std::span<const double> values, std::size_t a, std::size_t b,
             const coords::PriceMapping& y, double baseline, Rises rises, bool directed,
             const model::IndicatorVector& vector) const {
    const auto draw = [&](double v, auto&& place) {
      const double yv = y.y(v);
      place(v >= 0 ? yv : baseline, std::max(std::abs(baseline - yv), 1.0));
    };
    if (b - a == 1) {
      if (std::isnan(values[a])) return;
      draw(values[a], [&](double top, double h) { bar(rects, a, top, h, bar_is_up(vector, a)); });
      return;
    }
    // The largest value, and (undirected) the most negative: of the values of at least 0 the largest is the
    // largest of all when that is at least 0, and none otherwise; alike below 0.
    const auto value = [&](std::size_t k) { return values[k]; };
    util::Extremes range;
    if (!util::extremes(a, b, value, value, [&](std::size_t k) { return util::not_nan(values[k]); }, range)) return;
    const bool rising = directed ? rises(a, b) : true;
    if (directed || range.high >= 0) {
      draw(range.high, [&](double top, double h) { column_bar(rects, a, top, h, rising); });
    }
    if (!directed && range.low < 0) draw(range.low, [&](double top, double h) { column_bar(rects, a, top, h, false); });
  }
};

// The points of values [first, end) a line through them needs at the layout's detail, in bar order.
void add_kept_points(render::LineWriter& line, std::span<const double> values, std::size_t first, std::size_t end,
                     const coords::PriceMapping& y, const Layout& layout) {
  render::for_each_kept_point(
      layout.columns(), first, end, [&](std::size_t k) { line.add(slot_x(k, layout), y.y(values[k])); },
      [&](std::size_t k) { return values[k]; });
}

// One polyline per run of consecutive finite values that `joined` keeps together (see for_each_finite_run).
template <class Joined>
void draw_polylines(render::SvgBackend& out, std::span<const double> values, Joined joined,
                    const coords::PriceMapping& y, const StrokeStyle& stroke, const Layout& layout) {
  render::for_each_finite_run(layout.reach_begin(values.size()), layout.reach_end(values.size()),
                              [&](std::size_t k) { return values[k]; }, joined,
                              [&](std::size_t first, std::size_t end) {
                                render::LineWriter line(out, render::LineWriter::Kind::polyline);
                                add_kept_points(line, values, first, end, y, layout);
                                line.end(stroke);
                              });
}

void draw_polylines(render::SvgBackend& out, std::span<const double> values, const coords::PriceMapping& y,
                    const StrokeStyle& stroke, const Layout& layout) {
  draw_polylines(out, values, [](std::size_t) { return true; }, y, stroke, layout);
}

// Under each run of finite values that `joined` keeps together, down to the pane's foot: one closed path
// through the run's points, then its last and first bars' feet.
template <class Joined>
void draw_area_fills(render::SvgBackend& out, std::span<const double> values, Joined joined,
                     const coords::PriceMapping& y, Color color, const Layout& layout) {
  render::for_each_finite_run(layout.reach_begin(values.size()), layout.reach_end(values.size()),
                              [&](std::size_t k) { return values[k]; }, joined,
                              [&](std::size_t first, std::size_t end) {
                                render::LineWriter area(out, render::FillKind{render::Solid{color}});
                                for (std::size_t k = first; k < end; ++k) area.add(slot_x(k, layout), y.y(values[k]));
                                area.add(slot_x(end - 1, layout), y.bottom);
                                area.add(slot_x(first, layout), y.bottom);
                                area.end_closed();
                              });
}

// A line whose values are sparse points of one path (zigzag pivots): one polyline through the finite ones
// drawn, from the last point before them to the first after them, so that it crosses the plot's edges.
void draw_through_gaps(render::SvgBackend& out, std::span<const double> values, const coords::PriceMapping& y,
                       const StrokeStyle& stroke, const Layout& layout) {
  std::size_t begin = layout.begin(values.size()), end = layout.end(values.size());
  if (begin > 0) {
    std::size_t k = begin;
    while (k > 0 && !std::isfinite(values[k - 1])) --k;
    if (k > 0) begin = k - 1;
  }
  if (end < values.size()) {
    std::size_t k = end;
    while (k < values.size() && !std::isfinite(values[k])) ++k;
    if (k < values.size()) end = k + 1;
  }
  render::LineWriter line(out, render::LineWriter::Kind::polyline);
  add_kept_points(line, values, begin, end, y, layout);
  line.end(stroke);
}

// The colour of a line or solid line; none for the other styles, which draw no levels.
std::optional<Color> line_color(const model::VectorStyle& style) {
  if (const auto* s = std::get_if<model::style::Line>(&style.v)) return stroke_color(s->color);
  if (const auto* s = std::get_if<model::style::SolidLine>(&style.v)) return stroke_color(s->color);
  return std::nullopt;
}

// Levels that hold for a run of bars (a calendar period's pivots): one horizontal segment per run, from its
// first valued bar to its last at the first one's level. Runs are not joined, so equal levels of two periods
// stay two segments; a run with one valued bar has no extent and draws nothing.
struct LevelSegment {
  std::size_t a = 0, b = 0;  // the run's valued bars [a, b): a segment when b > a + 1
  std::size_t end = 0;       // where the next run starts
  bool drawn() const { return b > a + 1; }
};

LevelSegment level_segment(std::span<const double> values, std::span<const std::uint32_t> runs, std::size_t first) {
  std::size_t end = first;
  while (end < values.size() && runs[end] == runs[first]) ++end;
  std::size_t a = first, b = end;
  while (a < b && std::isnan(values[a])) ++a;
  while (b > a && std::isnan(values[b - 1])) --b;
  return {a, b, end};
}

// The segments that reach into the drawn bars, each whole (from the run holding the first drawn bar on).
template <class F>
void for_each_drawn_segment(std::span<const double> values, std::span<const std::uint32_t> runs,
                            const Layout& layout, F&& f) {
  const std::size_t begin = layout.begin(values.size()), end = layout.end(values.size());
  std::size_t first = begin;
  while (first > 0 && first < values.size() && runs[first - 1] == runs[first]) --first;
  while (first < end) {
    const LevelSegment s = level_segment(values, runs, first);
    if (s.drawn() && s.a < end && s.b > begin) f(s);
    first = s.end;
  }
}

void draw_run_levels(render::SvgBackend& out, std::span<const double> values, std::span<const std::uint32_t> runs,
                     const coords::PriceMapping& y, const StrokeStyle& stroke, const Layout& layout) {
  for_each_drawn_segment(values, runs, layout, [&](const LevelSegment& s) {
    const double level = y.y(values[s.a]);
    out.line(slot_x(s.a, layout), level, slot_x(s.b - 1, layout), level, stroke);
  });
}

// The levels' names, after all their segments so that no line crosses a name: each line vector's last
// segment carries the vector's name just above its left end (kept 2 px into the plot when that end lies
// left of it), in the line's colour made opaque.
void label_run_levels(render::SvgBackend& out, const model::Indicator& indicator, const coords::PriceMapping& y,
                      const Layout& layout) {
  render::TextStyle style;
  style.font_size = 10.0;
  style.align = render::TextAlign::Start;
  style.baseline = render::TextBaseline::Alphabetic;
  for (const model::IndicatorVector& vector : indicator.vectors) {
    const std::span<const double> values = vector.values;
    const std::optional<Color> color = line_color(vector.style);
    if (!color || indicator.runs.size() != values.size()) continue;
    std::optional<LevelSegment> last;
    for_each_drawn_segment(values, indicator.runs, layout, [&](const LevelSegment& s) { last = s; });
    if (!last) continue;
    style.color = *color;
    style.color.a = 255;
    out.text(vector.name, style, std::max(slot_x(last->a, layout) + 2.0, 2.0), y.y(values[last->a]) - 5.0);
  }
}

// The colour a line takes at bar k: that of its direction where the line gives one and the bar's up flag
// says which, else its own.
std::string_view line_color_at(const model::style::Line& s, const model::IndicatorVector& vector, std::size_t k) {
  if (k >= vector.up_flags.size()) return s.color;
  const std::string_view directed = vector.up_flags[k] != 0 ? s.up_color : s.down_color;
  return directed.empty() ? s.color : directed;
}

// A value line of the indicator: one polyline per run of finite values, split further as its runs say when
// it has a key per bar; or one line through the gaps where its values are points of one path.
void draw_line(render::SvgBackend& out, const model::Indicator& indicator, std::span<const double> values,
               bool through_gaps, const coords::PriceMapping& y, const StrokeStyle& stroke, const Layout& layout) {
  const std::span<const std::uint32_t> runs = indicator.runs;
  if (through_gaps) {
    draw_through_gaps(out, values, y, stroke, layout);
  } else if (runs.empty() || runs.size() != values.size()) {
    draw_polylines(out, values, y, stroke, layout);
  } else if (indicator.runs_are_levels) {
    draw_run_levels(out, values, runs, y, stroke, layout);
  } else {
    draw_polylines(out, values, [&](std::size_t k) { return runs[k] == runs[k - 1]; }, y, stroke, layout);
  }
}

// A line whose runs (split at each turn of direction, as its indicator's runs say) each take the stroke of
// their first bar.
template <class StrokeAt>
void draw_directed_line(render::SvgBackend& out, const model::Indicator& indicator,
                        const model::IndicatorVector& vector, const coords::PriceMapping& y, const Layout& layout,
                        StrokeAt stroke_at) {
  const std::span<const double> values = vector.values;
  const std::span<const std::uint32_t> runs = indicator.runs;
  const bool keyed = runs.size() == values.size();
  render::for_each_finite_run(
      layout.reach_begin(values.size()), layout.reach_end(values.size()), [&](std::size_t k) { return values[k]; },
      [&](std::size_t k) { return (!keyed || runs[k] == runs[k - 1]) && vector.up_flags[k] == vector.up_flags[k - 1]; },
      [&](std::size_t first, std::size_t end) {
        render::LineWriter line(out, render::LineWriter::Kind::polyline);
        add_kept_points(line, values, first, end, y, layout);
        line.end(stroke_at(first));
      });
}

// The cloud's own edge in its lower colour at half alpha; its fill is painted earlier, behind the series.
void draw_cloud_edge(render::SvgBackend& out, std::span<const double> values, const model::style::Cloud& s,
                     const coords::PriceMapping& y, const Layout& layout) {
  if (!s.edged) return;
  Color lower = stroke_color(s.lower_color);
  lower.a = 0x80;
  draw_polylines(out, values, y, StrokeStyle::solid(s.width, lower), layout);
}

// Steps are lines: each run of finite values one polyline, across to the next bar at the level reached, then
// up or down to its value.
void draw_steps(render::SvgBackend& out, std::span<const double> values, const coords::PriceMapping& y,
                const StrokeStyle& stroke, const Layout& layout) {
  render::for_each_finite_run(layout.reach_begin(values.size()), layout.reach_end(values.size()),
                              [&](std::size_t k) { return values[k]; },
                              [&](std::size_t first, std::size_t end) {
                                render::LineWriter line(out, render::LineWriter::Kind::polyline);
                                std::optional<PixelPoint> prev;
                                render::for_each_kept_point(
                                    layout.columns(), first, end,
                                    [&](std::size_t k) {
                                      const PixelPoint p{slot_x(k, layout), y.y(values[k])};
                                      if (prev) line.add(p.x, prev->y);
                                      line.add(p.x, p.y);
                                      prev = p;
                                    },
                                    [&](std::size_t k) { return values[k]; });
                                line.end(stroke);
                              });
}

// Whether the bars [a, b) (indices in the full series), as one aggregate candle, rise: none of them when they
// reach past the bars held.
bool bars_rise(model::BarsView bars, std::size_t a, std::size_t b) {
  return b <= bars.size() && render::closes_up(bars, a, b);
}

// `bars`: the bars whose direction colours the histogram (the volume's), or none when its values' signs do.
void draw_histogram(render::SvgBackend& out, const model::IndicatorVector& vector, const model::style::Histogram& s,
                    const coords::PriceMapping& y, double baseline, const Layout& layout, BarAlpha alpha,
                    const model::BarsView* bars, const palette::UpDown& chart) {
  if (vector.values.empty()) return;
  const auto painter = HistogramPainter::make(s, layout, alpha, chart);
  render::RectWriter rects(out);
  const auto rises = [&](std::size_t a, std::size_t b) { return bars && bars_rise(*bars, a, b); };
  render::for_each_group(painter.columns, layout.begin(vector.values.size()), layout.end(vector.values.size()),
                         [&](std::size_t a, std::size_t b) {
                           painter.group(rects, vector.values, a, b, y, baseline, rises, bars != nullptr, vector);
                         });
  rects.end();
}

// A dot per finite value; of a group of bars sharing a device column, its lowest and highest dot.
void draw_dots(render::SvgBackend& out, std::span<const double> values, const model::style::Dots& s,
               const coords::PriceMapping& y, const Layout& layout) {
  const Color c = stroke_color(s.color);
  const StrokeStyle outline = StrokeStyle::solid(1.0, c);
  const auto dot = [&](std::size_t k) {
    const double x = slot_x(k, layout), yv = y.y(values[k]);
    s.filled ? out.fill_circle(x, yv, s.radius, c) : out.stroke_circle(x, yv, s.radius, outline);
  };
  render::for_each_group(layout.columns(), layout.begin(values.size()), layout.end(values.size()),
                         [&](std::size_t a, std::size_t b) {
                           const auto value = [&](std::size_t k) { return values[k]; };
                           const util::ExtremeBars at = util::extreme_bars(
                               a, b, value, value, [&](std::size_t k) { return util::not_nan(values[k]); });
                           if (at.low == b) return;
                           dot(std::min(at.low, at.high));
                           if (at.low != at.high) dot(std::max(at.low, at.high));
                         });
}

StrokeStyle level_stroke(const model::IndicatorLevel& level) {
  StrokeStyle stroke = StrokeStyle::solid(level.width, css_or(level.color, palette::kLevel));
  if (level.style == "dotted") stroke.dash = std::vector<double>{2.0, 2.0};
  if (level.style == "dashed") stroke.dash = std::vector<double>{4.0, 4.0};
  return stroke;
}

// A level's label: its centre this far above the line (below it where that would come closer than
// kLevelLabelRoom to the pane's top), ending this far left of the plot's right edge, on a backing of the
// chart's background.
constexpr double kLevelLabelOffset = 8.0;
constexpr double kLevelLabelRoom = 6.0;
constexpr double kLevelLabelInset = 4.0;
constexpr double kLevelLabelSize = 10.0;
// Two labels closer than this overlap, as two of a price scale's do.
constexpr double kLevelLabelBox = 12.0;

bool has_values(const model::Indicator& indicator) {
  return std::any_of(indicator.vectors.begin(), indicator.vectors.end(),
                     [](const model::IndicatorVector& v) { return !v.values.empty(); });
}

// The bars' volumes, scaled to the band's height; non-finite volumes are left out.
void draw_bar_volumes(render::SvgBackend& out, const model::Indicator& indicator, double band_height,
                      model::BarsView bars, const Layout& layout, const palette::UpDown& chart) {
  const std::size_t begin = layout.begin(bars.size()), end = layout.end(bars.size());
  util::Extremes range;
  util::extremes(
      begin, end, [&](std::size_t k) { return bars.volume[k]; }, [&](std::size_t k) { return bars.volume[k]; },
      [&](std::size_t k) { return util::finite_value(bars.volume[k]); }, range);
  const double vmax = range.high;
  if (!(vmax > 0)) return;
  const model::style::Histogram* colors = nullptr;
  if (!indicator.vectors.empty()) colors = std::get_if<model::style::Histogram>(&indicator.vectors.front().style.v);
  static const model::VectorStyle kDefault = model::VectorStyle::histogram();
  const auto painter =
      HistogramPainter::make(colors ? *colors : std::get<model::style::Histogram>(kDefault.v), layout, BarAlpha::halved,
                             chart);
  const double foot = layout.main_height;
  render::RectWriter rects(out);
  render::for_each_group(painter.columns, begin, end, [&](std::size_t a, std::size_t e) {
    if (e - a == 1) {
      const auto& b = bars[a];
      if (!(b.volume > 0) || !std::isfinite(b.volume)) return;
      const double top = foot - b.volume / vmax * band_height;
      const bool down = b.close < b.open || std::isnan(b.close) || std::isnan(b.open);
      painter.bar(rects, a, top, std::max(foot - top, 1.0), !down);
      return;
    }
    const auto volume_at = [&](std::size_t k) { return bars.volume[k]; };
    util::Extremes group;
    util::extremes(a, e, volume_at, volume_at, [&](std::size_t k) { return util::finite_value(bars.volume[k]); },
                   group);
    const double volume = group.high;  // -inf when no volume is finite
    if (!(volume > 0)) return;
    const double top = foot - volume / vmax * band_height;
    painter.column_bar(rects, a, top, std::max(foot - top, 1.0), bars_rise(bars, a, e));
  });
  rects.end();
}

// Volumes and the like count up from nothing: when an automatic range would only see values of at least
// 0, the band spans them from 0. Other values, and the other modes, take the indicator's own range. All over
// the drawn bars only.
ValueRange band_range(model::BarsView bars, const model::Indicator& indicator, const Layout& layout) {
  const ValueIndices at = layout.drawn();
  if (std::holds_alternative<model::range::Auto>(indicator.range)) {
    if (const std::optional<ValueRange> r = from_zero_range(indicator, at)) return *r;
  }
  return indicator_range(layout.drawn_bars(bars), indicator, at);
}

// The volume's bars take the colour of their bars' direction; other histograms that of their values' signs.
const model::BarsView* direction_bars(const model::Indicator& indicator, const model::BarsView& bars) {
  return indicator.id == kVolumeRow.id ? &bars : nullptr;
}

// One vector of the indicator by its style; only histogram bars take the alpha. Hidden vectors draw nothing.
void draw_styled(render::SvgBackend& out, const model::Indicator& indicator, const model::IndicatorVector& vector,
                 const coords::PriceMapping& y, double baseline, const Layout& layout, BarAlpha alpha,
                 const model::BarsView& bars, const palette::UpDown& chart) {
  std::visit(
      [&](const auto& s) {
        using S = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<S, model::style::Line>) {
          const auto stroke = [&](std::string_view color) {
            const Color c = stroke_color(color);
            if (s.dotted) return StrokeStyle::dashed({2.0, 2.0}, s.width, c);
            return s.dashed ? StrokeStyle::dashed({4.0, 4.0}, s.width, c) : StrokeStyle::solid(s.width, c);
          };
          if (s.area) {
            draw_area_fills(out, vector.values, [](std::size_t) { return true; }, y,
                            palette::tint(stroke_color(s.color)), layout);
          }
          if ((s.up_color.empty() && s.down_color.empty()) || vector.up_flags.size() != vector.values.size()) {
            draw_line(out, indicator, vector.values, s.through_gaps, y, stroke(s.color), layout);
          } else {
            draw_directed_line(out, indicator, vector, y, layout,
                               [&](std::size_t k) { return stroke(line_color_at(s, vector, k)); });
          }
        } else if constexpr (std::is_same_v<S, model::style::SolidLine>) {
          draw_line(out, indicator, vector.values, false, y, StrokeStyle::solid(s.width, stroke_color(s.color)),
                    layout);
        } else if constexpr (std::is_same_v<S, model::style::Histogram>) {
          draw_histogram(out, vector, s, y, baseline, layout, alpha, direction_bars(indicator, bars), chart);
        } else if constexpr (std::is_same_v<S, model::style::Dots>) {
          draw_dots(out, vector.values, s, y, layout);
        } else if constexpr (std::is_same_v<S, model::style::StepLine>) {
          draw_steps(out, vector.values, y, StrokeStyle::solid(s.width, stroke_color(s.color)), layout);
        } else if constexpr (std::is_same_v<S, model::style::Cloud>) {
          draw_cloud_edge(out, vector.values, s, y, layout);
        }
      },
      vector.style.v);
}

void draw_vectors(render::SvgBackend& out, const model::Indicator& indicator, const coords::PriceMapping& y,
                  double baseline, const Layout& layout, BarAlpha alpha, const model::BarsView& bars,
                  const palette::UpDown& chart) {
  for (const auto& vector : indicator.vectors) {
    draw_styled(out, indicator, vector, y, baseline, layout, alpha, bars, chart);
  }
}

}  // namespace

void draw_cloud_fills(render::SvgBackend& out, const model::Indicator& indicator, const coords::PriceMapping& y,
                      const Layout& layout) {
  for (const auto& vector : indicator.vectors) {
    const auto* s = std::get_if<model::style::Cloud>(&vector.style.v);
    if (!s) continue;
    const auto partner =
        std::find_if(indicator.vectors.begin(), indicator.vectors.end(),
                     [&](const model::IndicatorVector& v) { return &v != &vector && v.name == s->partner; });
    if (partner == indicator.vectors.end() || partner->values.size() != vector.values.size()) continue;
    fill_cloud(out, vector.values, partner->values, {stroke_color(s->upper_color), stroke_color(s->lower_color)}, y,
               layout);
  }
}

void draw_indicator(render::SvgBackend& out, const model::Indicator& indicator, const coords::PriceMapping& y,
                    double baseline, const Layout& layout, const palette::UpDown& chart, model::BarsView bars) {
  render::ShapeBatch shapes(out);
  draw_vectors(out, indicator, y, baseline, layout, BarAlpha::as_given, bars, chart);
  if (indicator.runs_are_levels) label_run_levels(out, indicator, y, layout);
}

bool has_value_colors(const model::IndicatorVector& vector) {
  if (vector.style.is_hidden()) return false;
  const auto* cloud = std::get_if<model::style::Cloud>(&vector.style.v);
  return cloud == nullptr || cloud->edged;
}

std::optional<render::Color> value_color(const model::IndicatorVector& vector, std::size_t k,
                                         const palette::UpDown& chart) {
  if (!has_value_colors(vector)) return std::nullopt;
  return std::visit(
      [&](const auto& s) -> std::optional<render::Color> {
        using S = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<S, model::style::Histogram>) {
          return histogram_color(s, bar_is_up(vector, k), chart);
        } else if constexpr (std::is_same_v<S, model::style::Cloud>) {
          return stroke_color(s.lower_color);
        } else if constexpr (std::is_same_v<S, model::style::Hidden>) {
          return std::nullopt;
        } else if constexpr (std::is_same_v<S, model::style::Line>) {
          return stroke_color(line_color_at(s, vector, k));
        } else {
          return stroke_color(s.color);
        }
      },
      vector.style.v);
}

void draw_volume_band(render::SvgBackend& out, const model::Indicator& indicator, double ratio,
                      model::BarsView bars, const Layout& layout, const palette::UpDown& chart) {
  render::ShapeBatch shapes(out);
  const double band_height = ratio * layout.main_height;
  if (!has_values(indicator)) {
    draw_bar_volumes(out, indicator, band_height, bars, layout, chart);
    return;
  }
  const ValueRange r = band_range(bars, indicator, layout);
  // An inverted range (a fixed one given upside down) flattens the band onto its foot.
  const double foot = layout.main_height;
  const coords::PriceMapping y = r.hi > r.lo ? coords::PriceMapping{r.lo, r.hi, foot - band_height, band_height, foot}
                                             : coords::PriceMapping{r.lo, r.hi, foot, 0.0};
  const double baseline = y.y(0.0);
  draw_cloud_fills(out, indicator, y, layout);
  draw_vectors(out, indicator, y, baseline, layout, BarAlpha::halved, bars, chart);
}

void draw_sub_pane_frame(render::SvgBackend& out, const coords::PriceMapping& y, double width,
                         std::string_view background, std::string_view grid_color) {
  out.fill_rect({0, y.top, width, y.height}, css_or(background, palette::kBackground));
  out.line(0, y.top, width, y.top, StrokeStyle::solid(1.0, css_or(grid_color, palette::kSeparator)));
}

void draw_reference_levels(render::SvgBackend& out, const model::Indicator& indicator, const coords::PriceMapping& y,
                           double width) {
  render::ShapeBatch shapes(out);
  for (const auto& level : indicator.levels) {
    if (std::isnan(level.value)) continue;
    const double ly = y.y(level.value);
    out.line(0, ly, width, ly, level_stroke(level));
  }
}

namespace {

// Where a level lies in the pane; none when its range leaves it out.
std::optional<double> level_y(const model::IndicatorLevel& level, const coords::PriceMapping& y) {
  const double ly = y.y(level.value);
  if (!std::isfinite(level.value) || ly < y.top || ly > y.bottom) return std::nullopt;
  return ly;
}

}  // namespace

void draw_level_line(render::SvgBackend& out, const model::IndicatorLevel& level, const coords::PriceMapping& y,
                     double width) {
  if (const std::optional<double> ly = level_y(level, y)) out.line(0, *ly, width, *ly, level_stroke(level));
}

LevelLabels::LevelLabels(const coords::PriceMapping& y, double width, render::Color background)
    : y_(y), width_(width), background_(background) {
  background_.a = render::kTextBackingAlpha;
}

bool LevelLabels::free(double centre) const {
  const auto next = std::lower_bound(written_.begin(), written_.end(), centre);
  if (next != written_.end() && *next - centre < kLevelLabelBox) return false;
  return next == written_.begin() || centre - *(next - 1) >= kLevelLabelBox;
}

void LevelLabels::draw(render::SvgBackend& out, const model::IndicatorLevel& level) {
  const std::optional<double> at = level_y(level, y_);
  if (!at || !level.label || level.label->empty()) return;
  const double ly = *at;
  const double above = ly - kLevelLabelOffset, below = ly + kLevelLabelOffset;
  const bool room_above = above - y_.top >= kLevelLabelRoom;
  double label_y = room_above ? above : below;
  if (!free(label_y)) {
    if (!room_above) return;  // the other side would leave the pane
    label_y = below;
    if (!free(label_y)) return;
  }
  written_.insert(std::upper_bound(written_.begin(), written_.end(), label_y), label_y);
  render::TextStyle style;
  style.font_size = kLevelLabelSize;
  style.color = level_stroke(level).color;
  style.align = render::TextAlign::End;
  style.baseline = render::TextBaseline::Middle;
  const double x = width_ - kLevelLabelInset;
  out.fill_rect(render::text_backing(*level.label, style, x, label_y), background_);
  out.text(*level.label, style, x, label_y);
}

}  // namespace qc::api
