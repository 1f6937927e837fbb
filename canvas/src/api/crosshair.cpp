// The bar under the pointer, the hovered texts and the crosshair's lines and tags.
#include "api/crosshair.hpp"
#include "render/chart/axes.hpp"

#include <algorithm>
#include <cmath>

#include "coords/bar_dates.hpp"
#include "coords/civil_calendar.hpp"
#include "coords/price_scale.hpp"
#include "coords/time_axis.hpp"
#include "render/engine/contrast.hpp"

namespace qc::api {
namespace {

constexpr double kDash = 4.0;
// The time tag hangs from just under the axis' top border, its text as the axis writes its labels.
constexpr double kTimeTagTop = 2.0;
constexpr double kTimeTagHeight = 18.0;
constexpr double kTimeTagPadding = 4.0;
constexpr double kTimeTagFontSize = 10.0;

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
  return coords::median_interval(bars.time) < static_cast<double>(coords::kSecondsPerDay);
}

void append_ohlc(std::string& out, const model::Bar& bar, int decimals, const coords::PriceFormat* format) {
  const std::pair<const char*, double> fields[] = {
      {"O ", bar.open}, {" H ", bar.high}, {" L ", bar.low}, {" C ", bar.close}};
  for (const auto& [name, price] : fields) {
    out += name;
    coords::append_price_as(out, price, decimals, format);
  }
}

void draw_crosshair(render::SvgBackend& out, const Layout& layout, const CrosshairMarks& marks, render::Color ink,
                    render::Color background) {
  const render::StrokeStyle stroke = render::StrokeStyle::dashed({kDash, kDash}, 1.0, ink);
  out.line(marks.x, 0.0, marks.x, layout.plot_height, stroke);
  out.line(0.0, marks.y, layout.plot_width, marks.y, stroke);

  // The value's tag stays whole inside the plot's height, as the time tag stays inside its width.
  // (min of max rather than clamp: a plot under the tag's height keeps it at its foot.)
  const double tag_y =
      std::min(std::max(marks.y, coords::kPriceTagHalfHeight), layout.plot_height - coords::kPriceTagHalfHeight);
  render::render_price_tag(out, layout.plot_width, layout.width, tag_y, marks.value, ink, background);

  const double half = render::estimated_text_width(marks.time, kTimeTagFontSize) / 2 + kTimeTagPadding;
  const double centre = coords::time_label_x(marks.x, 2 * half, layout.plot_width);
  out.fill_rect({centre - half, layout.plot_height + kTimeTagTop, 2 * half, kTimeTagHeight}, ink);
  render::TextStyle style;
  style.color = render::tag_text_color(ink, background);
  style.font_size = kTimeTagFontSize;
  style.align = render::TextAlign::Middle;
  style.baseline = render::TextBaseline::Top;
  out.text(marks.time, style, centre, layout.plot_height + coords::kTimeLabelOffset);
}

}  // namespace qc::api
