// Renko and line break as wickless bodies, point and figure as glyphs, kagi as lines.
#include "api/box_styles.hpp"

#include <cmath>

#include "api/chart.hpp"
#include "render/chart/bar_styles.hpp"
#include "render/chart/box_styles.hpp"

namespace qc::api {

bool is_box_style(SeriesType type) { return box_kind(type).has_value(); }

std::optional<double> scale_grid(const SeriesConfig& series) {
  if (series.series_type != SeriesType::PointAndFigure) return std::nullopt;
  return series.boxes.size;
}

void draw_box_style(render::SvgBackend& out, const SeriesConfig& series, const ThemeConfig& theme,
                    model::BarsView boxes, const Layout& layout, const coords::PriceMapping& price, double dpr) {
  const model::BarsView drawn = layout.drawn_bars(boxes);
  const render::DeviceColumns columns = layout.columns().rebased(layout.first);
  switch (series.series_type) {
    case SeriesType::PointAndFigure:
      render::render_point_and_figure(out, drawn, series.boxes.size, theme.up_color, theme.down_color,
                                      layout.spacing, price, layout.candle_width(), dpr, columns,
                                      layout.first > 0 ? boxes.close[layout.first - 1] : NAN);
      return;
    case SeriesType::Kagi:
      render::render_kagi(out, boxes, layout.reach_begin(boxes.size()), layout.reach_end(boxes.size()), layout.first,
                          theme.up_color, theme.down_color, layout.spacing, price, dpr, layout.columns());
      return;
    default:
      // A renko or line-break box spans its open and close: a body from its low to its high, coloured by
      // direction, is a candle body without wicks.
      render::render_high_low(out, drawn, theme.up_color, theme.down_color, layout.spacing, price,
                              layout.candle_width(), dpr, columns);
      return;
  }
}

}  // namespace qc::api
