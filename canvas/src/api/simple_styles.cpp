// Hollow candles, columns, the baseline and high-low bars as the main series.
#include "api/simple_styles.hpp"

#include <cmath>

#include "api/cloud_painter.hpp"
#include "api/palette.hpp"
#include "model/series/options.hpp"
#include "render/chart/bar_styles.hpp"

namespace qc::api {
namespace {

// The baseline's fill: the line's colours at this alpha.
constexpr std::uint8_t kBaselineFillAlpha = 0x33;

void draw_baseline(render::SvgBackend& out, const ThemeConfig& theme, model::BarsView bars,
                   std::optional<double> level, const Layout& layout, const coords::PriceMapping& price) {
  if (!level) return;  // no finite close to set it by
  const render::Color up = render::css_or(theme.up_color, palette::kUp);
  const render::Color down = render::css_or(theme.down_color, palette::kDown);
  render::Color up_fill = up, down_fill = down;
  up_fill.a = down_fill.a = kBaselineFillAlpha;
  fill_to_level(out, *level, bars.close, {up_fill, down_fill}, price, layout);
  const double y = price.y(*level);
  out.line(0.0, y, layout.plot_width, y, render::StrokeStyle::dashed({2.0, 2.0}, 1.0, palette::kLevel));
  const auto width = static_cast<double>(model::LineStyleOptions{}.line_width);  // as line() draws the closes
  stroke_split_at_level(out, *level, bars.close, {up, down}, render::StrokeStyle::solid(width, up), price, layout);
}

}  // namespace

bool is_simple_style(SeriesType type) {
  return type == SeriesType::HollowCandles || type == SeriesType::Columns || type == SeriesType::Baseline ||
         type == SeriesType::HighLow;
}

model::BarsView ranged_bars(SeriesType type, model::BarsView drawn) {
  if (type != SeriesType::Columns) return drawn;
  return {drawn.time, drawn.open, drawn.close, drawn.close, drawn.close, drawn.volume};
}

std::optional<double> baseline_level(const SeriesConfig& series, model::BarsView drawn) {
  if (series.series_type != SeriesType::Baseline) return std::nullopt;
  if (series.baseline) return series.baseline;
  for (const double close : drawn.close) {
    if (std::isfinite(close)) return close;
  }
  return std::nullopt;
}

void draw_simple_style(render::SvgBackend& out, SeriesType type, const ThemeConfig& theme, model::BarsView bars,
                       std::optional<double> level, const Layout& layout, const coords::PriceMapping& price,
                       double dpr) {
  if (type == SeriesType::Baseline) {
    draw_baseline(out, theme, bars, level, layout, price);
    return;
  }
  const model::BarsView drawn = layout.drawn_bars(bars);
  const render::DeviceColumns columns = layout.columns().rebased(layout.first);
  const render::TrendColors trend{theme.up_color, theme.down_color,
                                  render::finite_close_before(bars, layout.begin(bars.size()))};
  switch (type) {
    case SeriesType::HollowCandles:
      render::render_hollow_candles(out, drawn, trend, layout.spacing, price, layout.candle_width(), dpr, columns);
      break;
    case SeriesType::Columns:
      render::render_columns(out, drawn, trend, layout.spacing, price, layout.candle_width(), dpr, columns);
      break;
    default:
      render::render_high_low(out, drawn, theme.up_color, theme.down_color, layout.spacing, price,
                              layout.candle_width(), dpr, columns);
      break;
  }
}

}  // namespace qc::api
