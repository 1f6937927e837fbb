// Title and legend lines: positions, the reckoned width of each text, last values and their colours.
#include "api/legend_painter.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "api/indicator_painter.hpp"
#include "coords/price_scale.hpp"

namespace qc::api {
namespace {

constexpr double kLeft = 8.0;
constexpr double kTitleY = 16.0;
constexpr double kTitleSize = 14.0;
constexpr double kLegendSize = 11.0;
constexpr double kLineHeight = 16.0;
constexpr double kFirstLineUnderTitle = 36.0;
constexpr double kSubPaneLineOffset = 12.0;
constexpr double kGap = 10.0;
// No text is measured: a byte of it is reckoned at 0.6 of the font size.
constexpr double kAdvancePerByte = 0.6 * kLegendSize;

render::TextStyle text_style(double size, render::Color color) {
  render::TextStyle style;
  style.font_size = size;
  style.color = color;
  style.align = render::TextAlign::Start;
  style.baseline = render::TextBaseline::Middle;
  return style;
}

// The index of the value quoted for a vector: that of the last bar when finite, else the last finite one
// before it.
std::optional<std::size_t> last_value_index(const model::IndicatorVector& vector, std::size_t bars) {
  for (std::size_t k = std::min(vector.values.size(), bars); k-- > 0;) {
    if (std::isfinite(vector.values[k])) return k;
  }
  return std::nullopt;
}

}  // namespace

void draw_title(render::SvgBackend& out, std::string_view title, render::Color color) {
  out.text(title, text_style(kTitleSize, color), kLeft, kTitleY);
}

double main_legend_y(bool titled, std::size_t k) {
  return (titled ? kFirstLineUnderTitle : kTitleY) + kLineHeight * static_cast<double>(k);
}

double sub_pane_legend_y(double pane_top) { return pane_top + kSubPaneLineOffset; }

int legend_decimals(double lo, double hi, double height) {
  return std::max(2, coords::price_label_decimals(lo, hi, height));
}

void draw_legend_line(render::SvgBackend& out, const model::Indicator& indicator, double y, int decimals,
                      render::Color name_color, std::size_t bars) {
  render::TextStyle style = text_style(kLegendSize, name_color);
  double x = kLeft;
  out.text(indicator.name, style, x, y);
  std::size_t previous_bytes = indicator.name.size();
  std::string value;
  for (const model::IndicatorVector& vector : indicator.vectors) {
    const auto k = last_value_index(vector, bars);
    if (!k) continue;
    const auto color = value_color(vector, *k);
    if (!color) continue;
    style.color = *color;
    style.color.a = 255;
    value.clear();
    coords::append_price_fixed(value, vector.values[*k], decimals);
    x += kAdvancePerByte * static_cast<double>(previous_bytes) + kGap;
    out.text(value, style, x, y);
    previous_bytes = value.size();
  }
}

}  // namespace qc::api
