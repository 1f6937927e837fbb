// Title and legend lines: positions, the reckoned width of each text, their backings, last values and
// their colours and number forms.
#include "api/legend_painter.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "api/indicator_painter.hpp"
#include "coords/price_mapping.hpp"
#include "primitives/catalog/common/caption_numbers.hpp"

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
// A fill's line leads with a square of the fill's colour, this wide, then a gap of this before its name.
constexpr double kSwatch = 10.0;
constexpr double kSwatchGap = 4.0;
// A backing starts 4 px left of the texts and ends 4 px past the last one's reckoned end; a legend line's
// is the lines' pitch high, so that stacked backings meet.
constexpr double kBackingLeft = kLeft - 4.0;
constexpr double kBackingPastEnd = 4.0;
constexpr double kTitleBackingHalf = 10.0;
constexpr double kLegendBackingHalf = kLineHeight / 2;
constexpr std::uint8_t kBackingAlpha = 0xCC;
// Values in units carry two decimals, and so do changes in per cent.
constexpr int kUnitDecimals = 2;
constexpr int kChangeDecimals = 2;

render::TextStyle text_style(double size, render::Color color) {
  render::TextStyle style;
  style.font_size = size;
  style.color = color;
  style.align = render::TextAlign::Start;
  style.baseline = render::TextBaseline::Middle;
  return style;
}

// Behind a line of texts of `size` whose last one, `last`, starts at x_last.
render::Rect backing_box(double x_last, std::string_view last, double size, double y, double half_height) {
  const double right = x_last + render::estimated_text_width(last, size) + kBackingPastEnd;
  return {kBackingLeft, y - half_height, right - kBackingLeft, 2 * half_height};
}

// The index of the value quoted for a vector: that of the last bar when finite, else the last finite one
// before it.
std::optional<std::size_t> last_value_index(const model::IndicatorVector& vector, std::size_t bars) {
  for (std::size_t k = std::min(vector.values.size(), bars); k-- > 0;) {
    if (std::isfinite(vector.values[k])) return k;
  }
  return std::nullopt;
}

// The hovered bar's index when the vector has a finite value there.
std::optional<std::size_t> hovered_value_index(const model::IndicatorVector& vector, std::size_t bar) {
  if (bar < vector.values.size() && std::isfinite(vector.values[bar])) return bar;
  return std::nullopt;
}

// Where the text after the title starts.
double after_title_x(std::string_view title) {
  return title.empty() ? kLeft : kLeft + render::estimated_text_width(title, kTitleSize) + kGap;
}

// The colour a fill of the user's paints where its upper side lies above its lower: none for a record that is
// no such fill (a cloud with an edge is a study's, quoted by its edge's values).
std::optional<render::Color> fill_swatch(const model::Indicator& indicator) {
  if (indicator.vectors.empty()) return std::nullopt;
  const auto* cloud = std::get_if<model::style::Cloud>(&indicator.vectors.front().style.v);
  if (cloud == nullptr || cloud->edged) return std::nullopt;
  return render::Color::from_css(cloud->upper_color);
}

}  // namespace

LegendColors LegendColors::make(render::Color text, render::Color background, palette::UpDown chart) {
  background.a = kBackingAlpha;
  return {text, background, chart};
}

void draw_title(render::SvgBackend& out, std::string_view title, const LegendColors& colors) {
  out.fill_rect(title_backing(title), colors.backing);
  write_title(out, title, colors);
}

void write_title(render::SvgBackend& out, std::string_view title, const LegendColors& colors) {
  out.text(title, text_style(kTitleSize, colors.text), kLeft, kTitleY);
}

render::Rect title_backing(std::string_view title) {
  return backing_box(kLeft, title, kTitleSize, kTitleY, kTitleBackingHalf);
}

void write_after_title(render::SvgBackend& out, std::string_view title, std::string_view text,
                       const LegendColors& colors) {
  out.text(text, text_style(kLegendSize, colors.text), after_title_x(title), kTitleY);
}

render::Rect after_title_backing(std::string_view title, std::string_view text) {
  const double x = after_title_x(title);
  const double right = x + render::estimated_text_width(text, kLegendSize) + kBackingPastEnd;
  const double left = x - (kLeft - kBackingLeft);
  return {left, kTitleY - kTitleBackingHalf, right - left, 2 * kTitleBackingHalf};
}

void draw_caption_line(render::SvgBackend& out, std::string_view caption, double y, const LegendColors& colors) {
  out.fill_rect(caption_backing(caption, y), colors.backing);
  write_caption(out, caption, y, colors);
}

render::Rect caption_backing(std::string_view caption, double y) {
  return backing_box(kLeft, caption, kLegendSize, y, kLegendBackingHalf);
}

void write_caption(render::SvgBackend& out, std::string_view caption, double y, const LegendColors& colors) {
  out.text(caption, text_style(kLegendSize, colors.text), kLeft, y);
}

double main_legend_y(bool titled, std::size_t k) {
  return (titled ? kFirstLineUnderTitle : kTitleY) + kLineHeight * static_cast<double>(k);
}

double sub_pane_legend_y(double pane_top, std::size_t k) {
  return pane_top + kSubPaneLineOffset + kLineHeight * static_cast<double>(k);
}

int quoted_decimals(int label_decimals, std::span<const double> ticks, double largest_tick) {
  return std::max(label_decimals, ticks.empty() ? 2 : primitives::catalog::price_decimals(largest_tick));
}

LegendNumbers pane_legend_numbers(double lo, double hi, double height, coords::ScaleNumbers scale) {
  return pane_legend_numbers(coords::price_ticks(lo, hi, height), lo, hi, height, scale);
}

LegendNumbers pane_legend_numbers(const coords::PriceTicks& ticks, double lo, double hi, double height,
                                  coords::ScaleNumbers scale) {
  const double largest = ticks.largest_magnitude();
  const int decimals = ticks.decimals >= 0 ? ticks.decimals : coords::price_label_decimals(lo, hi, height);
  return {quoted_decimals(decimals, ticks.ticks(), largest),
          scale == coords::ScaleNumbers::in_units && largest >= coords::kUnitsFrom};
}

LegendLine::LegendLine(const model::Indicator& indicator, double y, const LegendNumbers& numbers,
                       const LegendColors& colors, std::size_t bars, std::optional<double> base,
                       std::optional<std::size_t> hovered)
    : texts_(indicator.name), y_(y), swatch_(fill_swatch(indicator)) {
  quotes_.reserve(indicator.vectors.size() + 2);
  quotes_.push_back({0, texts_.size(), colors.text, swatch_ ? kLeft + kSwatch + kSwatchGap : kLeft});
  auto quote = [&](render::Color color) {
    const Quote& previous = quotes_.back();
    quotes_.push_back({previous.end, texts_.size(), color,
                       previous.x + render::estimated_text_width(text_of(previous), kLegendSize) + kGap});
  };
  for (const model::IndicatorVector& vector : indicator.vectors) {
    const auto k = hovered ? hovered_value_index(vector, *hovered) : last_value_index(vector, bars);
    if (!k) continue;
    auto color = value_color(vector, *k, colors.chart);
    if (!color) continue;
    color->a = 255;
    append_legend_value(texts_, vector.values[*k], numbers);
    quote(*color);
    const double change = base && &vector == &indicator.vectors.front()
                              ? coords::percent_change(vector.values[*k], *base)
                              : NAN;
    if (std::isfinite(change)) {  // not when it overflows: a value far from a tiny base
      coords::append_percent(texts_, change, kChangeDecimals);
      quote(*color);
    }
  }
}

std::string_view LegendLine::text_of(const Quote& q) const {
  return std::string_view(texts_).substr(q.begin, q.end - q.begin);
}

render::Rect LegendLine::backing() const {
  const Quote& last = quotes_.back();
  return backing_box(last.x, text_of(last), kLegendSize, y_, kLegendBackingHalf);
}

void LegendLine::write_texts(render::SvgBackend& out) const {
  if (swatch_) out.fill_rect({kLeft, y_ - kSwatch / 2, kSwatch, kSwatch}, *swatch_);
  render::TextStyle style = text_style(kLegendSize, render::Color{});
  for (const Quote& q : quotes_) {
    style.color = q.color;
    out.text(text_of(q), style, q.x, y_);
  }
}

void draw_legend_line(render::SvgBackend& out, const model::Indicator& indicator, double y,
                      const LegendNumbers& numbers, const LegendColors& colors, std::size_t bars,
                      std::optional<double> base) {
  const LegendLine line(indicator, y, numbers, colors, bars, base);
  out.fill_rect(line.backing(), colors.backing);
  line.write_texts(out);
}

void append_legend_value(std::string& out, double v, const LegendNumbers& numbers) {
  if (numbers.in_units && std::fabs(v) >= coords::kUnitsFrom) {
    coords::append_affixed(out, numbers.format, [&](std::string& text) {
      coords::append_in_unit(text, v, coords::number_unit(std::fabs(v)), kUnitDecimals);
    });
  } else {
    coords::append_price_as(out, v, numbers.decimals, numbers.format);
  }
}

void BackingCover::add(const render::Rect& r) {
  if (!box) {
    box = r;
    return;
  }
  const double left = std::min(box->x, r.x);
  const double top = std::min(box->y, r.y);
  const double right = std::max(box->x + box->width, r.x + r.width);
  const double bottom = std::max(box->y + box->height, r.y + r.height);
  box = render::Rect{left, top, right - left, bottom - top};
}

}  // namespace qc::api
