// The chart's title and the legend of its studies, written over everything else at the panes' top-left.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "api/palette.hpp"
#include "coords/price_scale.hpp"
#include "model/indicators.hpp"
#include "render/engine/svg_backend.hpp"

namespace qc::api {

// The title's and legend's colours: texts in the axis labels' colour, each line backed by the chart's
// background at alpha 0xCC, so that it stays readable over candles and lines.
// Values of histograms without colours of their own are written in the `chart`'s up and down colours.
struct LegendColors {
  render::Color text;
  render::Color backing;
  palette::UpDown chart;

  static LegendColors make(render::Color text, render::Color background, palette::UpDown chart = {});
};

// The title over the main pane's top-left corner, on its backing.
void draw_title(render::SvgBackend& out, std::string_view title, const LegendColors& colors);
// The title's text alone, and the box its backing fills.
void write_title(render::SvgBackend& out, std::string_view title, const LegendColors& colors);
render::Rect title_backing(std::string_view title);
// A text on the title's line in the legend's size: after the title, or in its place when `title` is empty.
// Its backing's box leaves the title's alone.
void write_after_title(render::SvgBackend& out, std::string_view title, std::string_view text,
                       const LegendColors& colors);
render::Rect after_title_backing(std::string_view title, std::string_view text);

// A legend line of a caption alone, on its backing: the main series' style and its settings.
void draw_caption_line(render::SvgBackend& out, std::string_view caption, double y, const LegendColors& colors);
// Its backing's box, and its text alone.
render::Rect caption_backing(std::string_view caption, double y);
void write_caption(render::SvgBackend& out, std::string_view caption, double y, const LegendColors& colors);

// Where the legend's lines stand: the main pane's line k under the title when there is one, and a
// sub-pane's line k from just inside the top of its frame down.
double main_legend_y(bool titled, std::size_t k);
double sub_pane_legend_y(double pane_top, std::size_t k = 0);

// How a pane's legend writes its values: in full with `decimals`, or, when `in_units`, those of at least
// coords::kUnitsFrom in their own unit with 2 decimals ("152.07B", "-5.31M").
// A pane with a format of the user's writes them as it says (its decimals for those in full).
struct LegendNumbers {
  int decimals = 2;
  bool in_units = false;
  const coords::PriceFormat* format = nullptr;
};

// The decimals that quote a value of a pane whose labels carry label_decimals: at least those, and as many
// as a price at its largest |tick| needs in a caption (2 on a pane without ticks).
int quoted_decimals(int label_decimals, std::span<const double> ticks, double largest_tick);

// The values of a pane whose scale labels [lo, hi] over `height` pixels: in full with as many decimals as
// its labels carry and as a price at its largest |tick| needs in a caption (2 on a pane without ticks); in
// units too when its scale writes units.
LegendNumbers pane_legend_numbers(double lo, double hi, double height, coords::ScaleNumbers scale);
// The same for a pane whose ticks price_ticks(lo, hi, height), or grid_ticks() with their own decimals, gave.
LegendNumbers pane_legend_numbers(const coords::PriceTicks& ticks, double lo, double hi, double height,
                                  coords::ScaleNumbers scale);

// The volume band's: in units from coords::kUnitsFrom, whole numbers below.
inline constexpr LegendNumbers kVolumeLegendNumbers{0, true};

// One legend line at height y: a fill of the user's colour on a square (a fill between two series'), the
// indicator's name, then the last value of each vector that draws, in the
// colour that value is drawn in made opaque, each text after the previous one's reckoned width. A vector's
// last value is its value at the last of `bars` bars when finite, else its last finite value before that; a
// vector without one is left out. With a `base` (a compared line's), the first vector's last value is followed
// by its per cent change from the base, signed with two decimals ("+4.21%"), when that is finite. With a
// `hovered` bar, each vector's value at that bar is quoted instead, and left out where it is not finite.
// The texts are placed before any is written, so that a backing written first ends past the last of them.
class LegendLine {
 public:
  LegendLine(const model::Indicator& indicator, double y, const LegendNumbers& numbers, const LegendColors& colors,
             std::size_t bars, std::optional<double> base = std::nullopt,
             std::optional<std::size_t> hovered = std::nullopt);

  // The line's own backing: from 4 px left of its texts to 4 px past the last one's reckoned end.
  render::Rect backing() const;
  void write_texts(render::SvgBackend& out) const;

 private:
  struct Quote {
    std::size_t begin, end;  // of its text in texts_
    render::Color color;
    double x;
  };
  std::string_view text_of(const Quote& q) const;

  std::string texts_;
  std::vector<Quote> quotes_;
  double y_;
  std::optional<render::Color> swatch_;
};

// The line on its backing in the legend's backing colour.
void draw_legend_line(render::SvgBackend& out, const model::Indicator& indicator, double y,
                      const LegendNumbers& numbers, const LegendColors& colors, std::size_t bars,
                      std::optional<double> base = std::nullopt);

// A value as a legend line with `numbers` writes it.
void append_legend_value(std::string& out, double v, const LegendNumbers& numbers);

// The smallest box that holds every box added: one backing in place of several.
struct BackingCover {
  std::optional<render::Rect> box;
  void add(const render::Rect& r);
};

}  // namespace qc::api
