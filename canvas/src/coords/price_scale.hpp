// Price-scale arithmetic: tick step, tick values and label texts.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "coords/price_format.hpp"
#include "render/engine/types.hpp"

namespace qc::coords {

struct PriceMapping;
struct LabelledTicks;

inline constexpr double kPriceScaleWidth = 70.0;
inline constexpr double kTickLength = 4.0;
inline constexpr double kPriceLabelOffset = 6.0;

// The chart's colour texts that the axes draw with, each parsed with its own fallback.
struct AxisTheme {
  std::string_view background;
  std::string_view grid_color;
  std::string_view text_color;
};

struct AxisColors {
  render::Color background;  // fallback #131722
  render::Color border;      // grid colour, fallback #2a2e39
  render::Color text;        // fallback #b4b4b4

  static AxisColors from(const AxisTheme& theme);
};

// A round tick step near x: 1, 2, 5 or 2.5 times a power of ten, preferring the one below x when it is
// within 80 % of x. 1.0 for x <= 0; NaN for NaN.
double nice_number(double x);

// The price with the decimals its step calls for (the fewest d for which step >= 1e-d, 10 at most; 5 for a
// NaN step), correctly rounded. A value that rounds to zero is written without a sign.
std::string format_price(double price, double step);
void append_price(std::string& out, double price, double step);
// The same with the decimals given (0 to 10).
void append_price_fixed(std::string& out, double price, int decimals);
// A per cent change with the decimals given, signed and followed by "%": "+12.5%", "0.0%", "-8.0%" (a change
// that rounds to zero reads no sign).
void append_percent(std::string& out, double change, int decimals);

// Numbers of volume size read in thousands, millions, billions or trillions: from this magnitude on a
// sub-pane's scale, and the legend values on such a pane and on the volume band, carry a unit.
inline constexpr double kUnitsFrom = 100000.0;

struct NumberUnit {
  double size = 1.0;
  char suffix = '\0';  // none for size 1
};

// 1000^k with k the largest of 1 to 4 for which m >= 1000^k ("K", "M", "B", "T"); size 1 below 1000 or NaN.
NumberUnit number_unit(double m);

// v / unit.size with the decimals given (0 to 10) and the unit's suffix; a text that rounds to zero is "0".
void append_in_unit(std::string& out, double v, NumberUnit unit, int decimals);

// Bounds the tick loop: a finite range yields at most 1.25 * 20 + 2 ticks, so only a step that no longer
// moves the ticks forward (below the prices' resolution) can reach it.
inline constexpr std::size_t kMaxPriceTicks = 64;

struct PriceTicks {
  double step = 1.0;
  std::size_t count = 0;
  std::array<double, kMaxPriceTicks> values{};
  int decimals = -1;  // the labels' decimals when the ticks set them; else the step's

  std::span<const double> ticks() const { return {values.data(), count}; }
  // The decimals the labels are written with.
  int label_decimals() const;
  // The largest |tick|; 0 without ticks.
  double largest_magnitude() const;
};

// The ticks of a scale height pixels high over [lo, hi]: multiples of the step from the first one at or
// above lo, each the previous plus the step, strictly below hi.
PriceTicks price_ticks(double lo, double hi, double height);

// The ticks of a scale over a grid of multiples of `box`: at multiples of k·box, k the smallest of 1, 2, 5, 10,
// 20, 50, … that leaves at least kGridTickGap pixels between ticks (and no more ticks than a scale holds),
// labelled with as many decimals as the box written in shortest form (at most 10). Each tick is the product
// of a whole number and the box, so it is the very price a grid line is drawn at. price_ticks() when the box
// or the range gives no grid.
inline constexpr double kGridTickGap = 20.0;
PriceTicks grid_ticks(double lo, double hi, double height, double box);

// The decimals of the labels of a scale height pixels high over [lo, hi], as price_ticks() and
// append_price() choose them; texts that quote the scale's values match its labels with these.
int price_label_decimals(double lo, double hi, double height);

// A price tag is 2 x kPriceTagHalfHeight tall, centred on its price.
inline constexpr double kPriceTagHalfHeight = 8.0;

// Font size of the price labels for the longest label's byte length.
double price_label_font_size(std::size_t longest_label);
// The price labels' style in a colour, sized for the longest label's byte length: written from kPriceLabelOffset
// right of the scale's edge, centred on their price.
render::TextStyle price_label_style(render::Color color, std::size_t longest_label);

// How a scale writes its labels: the main pane's in full; a sub-pane's whose largest |tick| reaches
// kUnitsFrom in that tick's unit, with the decimals of step / unit; a per cent scale's as append_percent
// writes them, with the decimals a full label takes.
enum class ScaleNumbers { full, in_units, percent };

// The label texts of one scale's ticks, as the pane's format (when it has one) writes them: its decimals on
// every label but those in units, its prefix and suffix around all but per cent changes.
class ScaleLabels {
 public:
  ScaleLabels(const PriceTicks& ticks, ScaleNumbers numbers, const PriceFormat* format = nullptr);
  void append(std::string& out, double value) const;

 private:
  NumberUnit unit_;
  int decimals_;
  bool percent_;
  const PriceFormat* format_;
};

}  // namespace qc::coords
