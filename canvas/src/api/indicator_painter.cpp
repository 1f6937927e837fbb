// Indicator drawing: one routine per vector style (lines split by the indicator's runs, clouds filled against
// their partners), the volume band and the sub-pane frame.
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
#include "api/palette.hpp"
#include "api/value_range.hpp"

namespace qc::api {
namespace {

using render::Color;
using render::css_or;
using render::PixelPoint;
using render::StrokeStyle;

double slot_x(std::size_t k, const Layout& layout) { return coords::bar_x(k, layout.spacing); }

// How opaque a histogram's bars are drawn. A volume band lies behind the price series and halves its bars'
// alpha, so that a candle over a bar of its own colour still shows.
enum class BarAlpha { as_given, halved };

Color with_alpha(Color c, BarAlpha alpha) {
  if (alpha == BarAlpha::halved) c.a = static_cast<std::uint8_t>((c.a + 1) / 2);
  return c;
}

// Lines, steps and dots in a colour that does not parse are drawn white.
Color stroke_color(std::string_view css) { return css_or(css, render::kOpaqueWhite); }

Color histogram_color(const model::style::Histogram& s, bool up) {
  return up ? css_or(s.up_color, palette::kUp) : css_or(s.down_color, palette::kDown);
}

// A bar is up by its flag where the vector carries one, else by its value's sign.
bool bar_is_up(const model::IndicatorVector& vector, std::size_t k) {
  return k < vector.up_flags.size() ? vector.up_flags[k] : vector.values[k] >= 0;
}

// Bars of width w centred on their slots, growing from the baseline. Their width is a share of the canvas
// width per bar, not of the bar spacing, so they are a little wider than the candles. The colours are
// settled once here, not per bar.
struct HistogramPainter {
  render::SvgBackend& out;
  Color up;
  Color down;
  double w;
  const Layout& layout;

  static HistogramPainter make(render::SvgBackend& out, const model::style::Histogram& s, const Layout& layout,
                               BarAlpha alpha) {
    return {out, with_alpha(histogram_color(s, true), alpha), with_alpha(histogram_color(s, false), alpha),
            layout.width / static_cast<double>(layout.n) * s.bar_width_ratio, layout};
  }

  void bar(render::RectWriter& rects, std::size_t k, double top, double height, bool is_up) const {
    rects.add({slot_x(k, layout) - w / 2, top, w, height}, is_up ? up : down);
  }
};

void draw_polyline(render::SvgBackend& out, std::span<const double> values, const coords::PriceMapping& y,
                   const StrokeStyle& stroke, const Layout& layout) {
  render::LineWriter line(out, render::LineWriter::Kind::polyline);
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (!std::isnan(values[k])) line.add(slot_x(k, layout), y.y(values[k]));
  }
  line.end(stroke);
}

// A line broken where its indicator's run key changes (a trend turning): one polyline per stretch of
// consecutive valued bars with one key, so that no segment joins two runs, nor two sides of a gap.
void draw_run_polylines(render::SvgBackend& out, std::span<const double> values, std::span<const std::uint32_t> runs,
                        const coords::PriceMapping& y, const StrokeStyle& stroke, const Layout& layout) {
  for (std::size_t k = 0; k < values.size();) {
    if (std::isnan(values[k])) {
      ++k;
      continue;
    }
    const std::uint32_t key = runs[k];
    render::LineWriter line(out, render::LineWriter::Kind::polyline);
    for (; k < values.size() && !std::isnan(values[k]) && runs[k] == key; ++k) {
      line.add(slot_x(k, layout), y.y(values[k]));
    }
    line.end(stroke);
  }
}

// Levels that hold for a run of bars (a calendar period's pivots): one horizontal segment per run, from its
// first valued bar to its last at the first one's level. Runs are not joined, so equal levels of two periods
// stay two segments; a run with one valued bar has no extent and draws nothing.
void draw_run_levels(render::SvgBackend& out, std::span<const double> values, std::span<const std::uint32_t> runs,
                     const coords::PriceMapping& y, const StrokeStyle& stroke, const Layout& layout) {
  for (std::size_t first = 0; first < values.size();) {
    std::size_t end = first;
    while (end < values.size() && runs[end] == runs[first]) ++end;
    std::size_t a = first, b = end;
    while (a < b && std::isnan(values[a])) ++a;
    while (b > a && std::isnan(values[b - 1])) --b;
    if (b > a + 1) {
      const double level = y.y(values[a]);
      out.line(slot_x(a, layout), level, slot_x(b - 1, layout), level, stroke);
    }
    first = end;
  }
}

// A value line of the indicator, split as its runs say when it has a key per bar.
void draw_line(render::SvgBackend& out, const model::Indicator& indicator, std::span<const double> values,
               const coords::PriceMapping& y, const StrokeStyle& stroke, const Layout& layout) {
  const std::span<const std::uint32_t> runs = indicator.runs;
  if (runs.empty() || runs.size() != values.size()) {
    draw_polyline(out, values, y, stroke, layout);
  } else if (indicator.runs_are_levels) {
    draw_run_levels(out, values, runs, y, stroke, layout);
  } else {
    draw_run_polylines(out, values, runs, y, stroke, layout);
  }
}

// The fill between a cloud and its partner vector, then the cloud's own edge in its lower colour at half
// alpha. A partner that is missing or of another length leaves the edge alone.
void draw_cloud(render::SvgBackend& out, const model::Indicator& indicator, const model::IndicatorVector& vector,
                const model::style::Cloud& s, const coords::PriceMapping& y, const Layout& layout) {
  Color lower = stroke_color(s.lower_color);
  const auto partner =
      std::find_if(indicator.vectors.begin(), indicator.vectors.end(),
                   [&](const model::IndicatorVector& v) { return &v != &vector && v.name == s.partner; });
  if (partner != indicator.vectors.end() && partner->values.size() == vector.values.size()) {
    fill_cloud(out, vector.values, partner->values, {stroke_color(s.upper_color), lower}, y, layout);
  }
  lower.a = 0x80;
  draw_polyline(out, vector.values, y, StrokeStyle::solid(s.width, lower), layout);
}

void draw_steps(render::SvgBackend& out, std::span<const double> values, const coords::PriceMapping& y,
                const StrokeStyle& stroke, const Layout& layout) {
  bool has_prev = false;
  PixelPoint prev;
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (std::isnan(values[k])) continue;
    const PixelPoint p{slot_x(k, layout), y.y(values[k])};
    if (has_prev) {
      out.line(prev.x, prev.y, p.x, prev.y, stroke);
      out.line(p.x, prev.y, p.x, p.y, stroke);
    }
    prev = p;
    has_prev = true;
  }
}

void draw_histogram(render::SvgBackend& out, const model::IndicatorVector& vector, const model::style::Histogram& s,
                    const coords::PriceMapping& y, double baseline, const Layout& layout, BarAlpha alpha) {
  if (vector.values.empty()) return;
  const auto painter = HistogramPainter::make(out, s, layout, alpha);
  render::RectWriter rects(out);
  for (std::size_t k = 0; k < vector.values.size(); ++k) {
    const double v = vector.values[k];
    if (std::isnan(v)) continue;
    const double yv = y.y(v);
    painter.bar(rects, k, v >= 0 ? yv : baseline, std::max(std::abs(baseline - yv), 1.0), bar_is_up(vector, k));
  }
  rects.end();
}

void draw_dots(render::SvgBackend& out, std::span<const double> values, const model::style::Dots& s,
               const coords::PriceMapping& y, const Layout& layout) {
  const Color c = stroke_color(s.color);
  const StrokeStyle outline = StrokeStyle::solid(1.0, c);
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (std::isnan(values[k])) continue;
    const double x = slot_x(k, layout), yv = y.y(values[k]);
    s.filled ? out.fill_circle(x, yv, s.radius, c) : out.stroke_circle(x, yv, s.radius, outline);
  }
}

bool has_values(const model::Indicator& indicator) {
  return std::any_of(indicator.vectors.begin(), indicator.vectors.end(),
                     [](const model::IndicatorVector& v) { return !v.values.empty(); });
}

// The bars' volumes, scaled to the band's height; non-finite volumes are left out.
void draw_bar_volumes(render::SvgBackend& out, const model::Indicator& indicator, double band_height,
                      std::span<const model::Bar> bars, const Layout& layout) {
  double vmax = 0.0;
  for (const auto& b : bars) {
    if (std::isfinite(b.volume)) vmax = std::max(vmax, b.volume);
  }
  if (vmax <= 0) return;
  const model::style::Histogram* colors = nullptr;
  if (!indicator.vectors.empty()) colors = std::get_if<model::style::Histogram>(&indicator.vectors.front().style.v);
  static const model::VectorStyle kDefault = model::VectorStyle::histogram();
  const auto painter = HistogramPainter::make(out, colors ? *colors : std::get<model::style::Histogram>(kDefault.v),
                                              layout, BarAlpha::halved);
  const double foot = layout.main_height;
  render::RectWriter rects(out);
  for (std::size_t k = 0; k < bars.size(); ++k) {
    const auto& b = bars[k];
    if (!(b.volume > 0) || !std::isfinite(b.volume)) continue;
    const double top = foot - b.volume / vmax * band_height;
    const bool down = b.close < b.open || std::isnan(b.close) || std::isnan(b.open);
    painter.bar(rects, k, top, std::max(foot - top, 1.0), !down);
  }
  rects.end();
}

// Volumes and the like count up from nothing: when an automatic range would only see values of at least
// 0, the band spans them from 0. Other values, and the other modes, take the indicator's own range.
ValueRange band_range(std::span<const model::Bar> bars, const model::Indicator& indicator) {
  if (std::holds_alternative<model::range::Auto>(indicator.range)) {
    if (const std::optional<ValueRange> r = from_zero_range(indicator)) return *r;
  }
  return indicator_range(bars, indicator);
}

// One vector of the indicator by its style; only histogram bars take the alpha. Hidden vectors draw nothing.
void draw_styled(render::SvgBackend& out, const model::Indicator& indicator, const model::IndicatorVector& vector,
                 const coords::PriceMapping& y, double baseline, const Layout& layout, BarAlpha alpha) {
  std::visit(
      [&](const auto& s) {
        using S = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<S, model::style::Line>) {
          const Color c = stroke_color(s.color);
          draw_line(out, indicator, vector.values, y,
                    s.dashed ? StrokeStyle::dashed({4.0, 4.0}, s.width, c) : StrokeStyle::solid(s.width, c), layout);
        } else if constexpr (std::is_same_v<S, model::style::SolidLine>) {
          draw_line(out, indicator, vector.values, y, StrokeStyle::solid(s.width, stroke_color(s.color)), layout);
        } else if constexpr (std::is_same_v<S, model::style::Histogram>) {
          draw_histogram(out, vector, s, y, baseline, layout, alpha);
        } else if constexpr (std::is_same_v<S, model::style::Dots>) {
          draw_dots(out, vector.values, s, y, layout);
        } else if constexpr (std::is_same_v<S, model::style::StepLine>) {
          draw_steps(out, vector.values, y, StrokeStyle::solid(s.width, stroke_color(s.color)), layout);
        } else if constexpr (std::is_same_v<S, model::style::Cloud>) {
          draw_cloud(out, indicator, vector, s, y, layout);
        }
      },
      vector.style.v);
}

void draw_vectors(render::SvgBackend& out, const model::Indicator& indicator, const coords::PriceMapping& y,
                  double baseline, const Layout& layout, BarAlpha alpha) {
  for (const auto& vector : indicator.vectors) draw_styled(out, indicator, vector, y, baseline, layout, alpha);
}

}  // namespace

void draw_indicator(render::SvgBackend& out, const model::Indicator& indicator, const coords::PriceMapping& y,
                    double baseline, const Layout& layout) {
  draw_vectors(out, indicator, y, baseline, layout, BarAlpha::as_given);
}

std::optional<render::Color> value_color(const model::IndicatorVector& vector, std::size_t k) {
  return std::visit(
      [&](const auto& s) -> std::optional<render::Color> {
        using S = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<S, model::style::Histogram>) {
          return histogram_color(s, bar_is_up(vector, k));
        } else if constexpr (std::is_same_v<S, model::style::Cloud>) {
          return stroke_color(s.lower_color);
        } else if constexpr (std::is_same_v<S, model::style::Hidden>) {
          return std::nullopt;
        } else {
          return stroke_color(s.color);
        }
      },
      vector.style.v);
}

void draw_volume_band(render::SvgBackend& out, const model::Indicator& indicator, double ratio,
                      std::span<const model::Bar> bars, const Layout& layout) {
  const double band_height = ratio * layout.main_height;
  if (!has_values(indicator)) {
    draw_bar_volumes(out, indicator, band_height, bars, layout);
    return;
  }
  const ValueRange r = band_range(bars, indicator);
  // An inverted range (a fixed one given upside down) flattens the band onto its foot.
  const double foot = layout.main_height;
  const coords::PriceMapping y = r.hi > r.lo ? coords::PriceMapping{r.lo, r.hi, foot - band_height, band_height, foot}
                                             : coords::PriceMapping{r.lo, r.hi, foot, 0.0};
  const double baseline = y.y(0.0);
  draw_vectors(out, indicator, y, baseline, layout, BarAlpha::halved);
}

void draw_sub_pane_frame(render::SvgBackend& out, const coords::PriceMapping& y, double width,
                         std::string_view background, std::string_view grid_color) {
  out.fill_rect({0, y.top, width, y.height}, css_or(background, palette::kBackground));
  out.line(0, y.top, width, y.top, StrokeStyle::solid(1.0, css_or(grid_color, palette::kSeparator)));
}

void draw_reference_levels(render::SvgBackend& out, const model::Indicator& indicator, const coords::PriceMapping& y,
                           double width) {
  for (const auto& level : indicator.levels) {
    if (std::isnan(level.value)) continue;
    const Color c = css_or(level.color, palette::kLevel);
    const double ly = y.y(level.value);
    StrokeStyle stroke = StrokeStyle::solid(level.width, c);
    if (level.style == "dotted") stroke.dash = std::vector<double>{2.0, 2.0};
    if (level.style == "dashed") stroke.dash = std::vector<double>{4.0, 4.0};
    out.line(0, ly, width, ly, stroke);
  }
}

}  // namespace qc::api
