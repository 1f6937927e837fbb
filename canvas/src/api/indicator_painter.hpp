// Draws what indicators carry: value lines by style, the volume band, sub-pane boxes and reference levels.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "api/layout.hpp"
#include "api/palette.hpp"
#include "coords/price_mapping.hpp"
#include "model/indicators.hpp"
#include "model/series/bar_columns.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// The fills of an indicator's clouds against their partners, in vector order, by the pane's mapping. They are
// painted before the pane's series, which would otherwise lie under a tint; a partner that is missing or of
// another length leaves its cloud unfilled.
void draw_cloud_fills(render::SvgBackend& out, const model::Indicator& indicator, const coords::PriceMapping& y,
                      const Layout& layout);

// An indicator's vectors in a pane, in their order, over the layout's drawn bars (lines from the bar before
// them to the bar after, level segments reaching into them whole): value k at the layout's x of bar k, y by
// the pane's mapping; histogram bars grow from the baseline y. Lines are one polyline per run of consecutive finite
// values (a lone value draws none), split further where the indicator's run key changes, or draw one level
// segment per run; a line through gaps is one polyline through its finite values; a cloud draws its edge
// (its fill comes from draw_cloud_fills); hidden vectors draw nothing. Histograms without colours of their
// own take shades of the `chart` colours.
// When the layout groups bars by device column, each group of two or more draws: of a line (and a step
// line), the first, lowest, highest and last point of each run's share of it; of dots, the lowest and
// highest; of a histogram, one bar filling the column (halves: its half) to the largest value, in the
// direction's colour of the group's aggregate candle of `bars` for the volume, else a bar to the largest
// value of at least 0 in the up colour and one to the most negative in the down colour.
void draw_indicator(render::SvgBackend& out, const model::Indicator& indicator, const coords::PriceMapping& y,
                    double baseline, const Layout& layout, const palette::UpDown& chart, model::BarsView bars = {});

// Whether the vector's values have a colour (value_color()): all but hidden vectors and clouds without edges.
bool has_value_colors(const model::IndicatorVector& vector);

// The colour value k (an index within the values) is drawn in, before the alpha a pane applies: a
// histogram's bar in its up or down colour (or its shade of the `chart` colour) by its flag or, without one,
// its sign; a cloud's edge line in the cloud's second colour; a line, step line or dots in their colour. None
// for a hidden vector and a cloud without edges.
std::optional<render::Color> value_color(const model::IndicatorVector& vector, std::size_t k,
                                         const palette::UpDown& chart);

// A volume-band indicator at the foot of the main pane: its own values when it has any, else the bars'
// volumes. Drawn behind the price series, so its histogram bars are written at half their colours' alpha
// ((a + 1) / 2); its lines and dots keep their colours; its cloud fills come before its vectors.
void draw_volume_band(render::SvgBackend& out, const model::Indicator& indicator, double ratio,
                      model::BarsView bars, const Layout& layout, const palette::UpDown& chart);

// A sub-pane's background and the separator along its top, width pixels wide.
void draw_sub_pane_frame(render::SvgBackend& out, const coords::PriceMapping& y, double width,
                         std::string_view background, std::string_view grid_color);

// A level the caller placed, width pixels wide, when the pane's range holds it: its line, and apart, drawn
// after every line, its label (see LevelLabels).
void draw_level_line(render::SvgBackend& out, const model::IndicatorLevel& level, const coords::PriceMapping& y,
                     double width);

// The labels of one pane's levels, drawn in call order: each in size 10 in its line's colour, ending 4 px
// left of the plot's right edge, its centre 8 px above the line (below where that would come within 6 px of
// the pane's top), on a backing of `background` at alpha 0xCC. As a price scale's labels, a label whose 12 px
// box would overlap one written before moves to the other side of its line, and is left out when it overlaps
// there too (or when that side is above, too near the pane's top).
class LevelLabels {
 public:
  LevelLabels(const coords::PriceMapping& y, double width, render::Color background);
  void draw(render::SvgBackend& out, const model::IndicatorLevel& level);

 private:
  bool free(double centre) const;

  const coords::PriceMapping& y_;
  double width_;
  render::Color background_;
  std::vector<double> written_;  // the centres of the labels written, ascending
};

// An indicator's reference levels, width pixels wide.
void draw_reference_levels(render::SvgBackend& out, const model::Indicator& indicator, const coords::PriceMapping& y,
                           double width);

}  // namespace qc::api
