// The last-price line and tag.
#include "api/last_price.hpp"
#include "render/chart/axes.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "api/palette.hpp"
#include "coords/price_mapping.hpp"
#include "coords/price_scale.hpp"

namespace qc::api {
namespace {
constexpr double kDash = 2.0;
}  // namespace

void draw_last_price(render::SvgBackend& out, const model::Bar& last, const ThemeConfig& theme,
                     const MainScale& scale, double plot_width, double width) {
  // A close far from a relative scale's base can have a change beyond the doubles: no number to write.
  if (!std::isfinite(scale.mapping().scaled(last.close))) return;
  // As the candles read their colours; an open that is not a number counts as a fall.
  const render::Color color =
      render::css_or(last.close >= last.open ? theme.up_color : theme.down_color, render::kOpaqueBlack);
  const coords::PriceMapping& pane = scale.mapping();
  const double y = pane.y(last.close);
  // Beyond the pane's range the line would cross another pane or none: the tag alone stays, whole at its edge.
  const double top = pane.top + coords::kPriceTagHalfHeight;
  const double bottom = pane.bottom - coords::kPriceTagHalfHeight;
  const bool inside = y >= pane.top && y <= pane.bottom;
  if (inside) out.line(0.0, y, plot_width, y, render::StrokeStyle::dashed({kDash, kDash}, 1.0, color));
  std::string text;
  scale.append_mark(text, last.close);
  render::render_price_tag(out, plot_width, width, inside ? y : std::min(std::max(y, top), bottom), text, color,
                           render::css_or(theme.background, palette::kBackground));
}

}  // namespace qc::api
