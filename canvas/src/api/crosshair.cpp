// The bar under the pointer, the hovered texts and the crosshair's lines and tags.
#include "api/crosshair.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "coords/civil_calendar.hpp"
#include "coords/price_scale.hpp"
#include "coords/time_axis.hpp"
#include "render/engine/contrast.hpp"

namespace qc::api {
namespace {

constexpr double kDash = 4.0;
constexpr double kPriceTagHalfHeight = 8.0;
// The time tag hangs from just under the axis' top border, its text as the axis writes its labels.
constexpr double kTimeTagTop = 2.0;
constexpr double kTimeTagHeight = 18.0;
constexpr double kTimeTagPadding = 4.0;
constexpr double kTimeTagFontSize = 10.0;

void append_digits(std::string& out, std::int64_t v, int width) {
  if (v < 0) {
    out += '-';
    v = -v;
  }
  const std::string digits = std::to_string(v);
  if (digits.size() < static_cast<std::size_t>(width)) out.append(static_cast<std::size_t>(width) - digits.size(), '0');
  out += digits;
}

}  // namespace

std::optional<std::size_t> bar_under(const Layout& layout, double x) {
  if (layout.n == 0 || !(x >= 0.0) || !(x <= layout.plot_width) || !(layout.plot_width > 0)) return std::nullopt;
  // Slot i holds the centres nearest to x over [i, i + 1) slot widths; x / width * n rather than x / spacing
  // keeps a spacing far below a pixel from rounding the slot.
  const double slot = std::floor(x / layout.plot_width * static_cast<double>(layout.n));
  const auto i = static_cast<std::size_t>(std::clamp(slot, 0.0, static_cast<double>(layout.n - 1)));
  return layout.first + i;
}

bool over_plot(const Layout& layout, const Pointer& p) {
  return bar_under(layout, p.x).has_value() && p.y >= 0.0 && p.y <= layout.plot_height;
}

double value_at(const coords::PriceMapping& pane, double y) {
  const double f = pane.height > 0 ? (pane.bottom - y) / pane.height : 0.0;
  if (pane.log) return std::exp(pane.log_min + f * (pane.log_max - pane.log_min));
  return pane.min + f * (pane.max - pane.min);
}

bool intraday_bars(model::BarsView bars) {
  if (bars.size() < 2) return false;
  std::vector<double> gaps(bars.size() - 1);
  for (std::size_t i = 1; i < bars.size(); ++i) {
    gaps[i - 1] = static_cast<double>(bars[i].timestamp) - static_cast<double>(bars[i - 1].timestamp);
  }
  const auto upper = gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2);
  std::nth_element(gaps.begin(), upper, gaps.end());
  double median = *upper;
  // An even count's median is the mean of its two middle gaps, the lower being the largest below `upper`.
  if (gaps.size() % 2 == 0) median = (median + *std::max_element(gaps.begin(), upper)) / 2;
  return median < static_cast<double>(coords::kSecondsPerDay);
}

void append_bar_time(std::string& out, std::int64_t local_seconds, bool with_minutes) {
  const coords::CalendarFields f = coords::calendar_fields(local_seconds);
  append_digits(out, f.year, 4);
  out += '-';
  append_digits(out, f.month, 2);
  out += '-';
  append_digits(out, f.day, 2);
  if (!with_minutes) return;
  out += ' ';
  append_digits(out, f.hour, 2);
  out += ':';
  append_digits(out, f.minute, 2);
}

void append_ohlc(std::string& out, const model::Bar& bar, int decimals) {
  const std::pair<const char*, double> fields[] = {
      {"O ", bar.open}, {" H ", bar.high}, {" L ", bar.low}, {" C ", bar.close}};
  for (const auto& [name, price] : fields) {
    out += name;
    coords::append_price_fixed(out, price, decimals);
  }
}

void draw_crosshair(render::SvgBackend& out, const Layout& layout, const CrosshairMarks& marks, render::Color ink,
                    render::Color background) {
  const render::StrokeStyle stroke = render::StrokeStyle::dashed({kDash, kDash}, 1.0, ink);
  out.line(marks.x, 0.0, marks.x, layout.plot_height, stroke);
  out.line(0.0, marks.y, layout.plot_width, marks.y, stroke);

  const render::Color text = render::tag_text_color(ink, background);
  out.fill_rect({layout.plot_width, marks.y - kPriceTagHalfHeight, layout.width - layout.plot_width,
                 2 * kPriceTagHalfHeight},
                ink);
  out.text(marks.value, coords::price_label_style(text, marks.value.size()),
           layout.plot_width + coords::kPriceLabelOffset, marks.y);

  const double half = render::estimated_text_width(marks.time, kTimeTagFontSize) / 2 + kTimeTagPadding;
  const double centre = coords::time_label_x(marks.x, 2 * half, layout.plot_width);
  out.fill_rect({centre - half, layout.plot_height + kTimeTagTop, 2 * half, kTimeTagHeight}, ink);
  render::TextStyle style;
  style.color = text;
  style.font_size = kTimeTagFontSize;
  style.align = render::TextAlign::Middle;
  style.baseline = render::TextBaseline::Top;
  out.text(marks.time, style, centre, layout.plot_height + coords::kTimeLabelOffset);
}

}  // namespace qc::api
