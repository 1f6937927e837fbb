// Position drawing: fixed red and green zones and lines; the record's own colour is not used.
#include "primitives/catalog/projection/position.hpp"

#include <cmath>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

void draw_position(RenderContext& ctx, const PrimitiveData& data, const PositionPlan& plan) {
  const PixelSnap s{ctx.dpr()};
  const double x0 = ctx.bar_to_x(plan.bar);
  const double ye = ctx.price_to_y(plan.entry_price);
  const double ys = ctx.price_to_y(plan.stop_loss);
  const double yt = ctx.price_to_y(plan.take_profit);
  const double w = ctx.chart_width();
  const double xs = s(x0);
  // Each zone spans its two prices whichever lies higher; its width runs from the unsnapped entry x.
  ctx.set_fill_color("#FF000030");
  ctx.fill_rect(xs, util::nan_min(ye, ys), w - x0, std::abs(ys - ye));
  ctx.set_fill_color("#00FF0030");
  ctx.fill_rect(xs, util::nan_min(ye, yt), w - x0, std::abs(yt - ye));

  ctx.set_line_dash(line_style_dash(data.style));
  ctx.set_stroke_width(data.width);
  const struct {
    const char* color;
    double y;
  } lines[] = {{"#FFFFFF", ye}, {"#FF0000", ys}, {"#00FF00", yt}};
  for (const auto& line : lines) {
    ctx.set_stroke_color(line.color);
    stroke_segment(ctx, xs, s(line.y), s(w), s(line.y));
  }
  ctx.set_line_dash({});
}

std::optional<TextAnchor> position_text_anchor(const PrimitiveData& data, const RenderContext& ctx,
                                               const PositionPlan& plan) {
  if (label_text(data) == nullptr) return std::nullopt;
  const double x0 = ctx.bar_to_x(plan.bar);
  const double ye = ctx.price_to_y(plan.entry_price);
  const double ys = ctx.price_to_y(plan.stop_loss);
  const double yt = ctx.price_to_y(plan.take_profit);
  const double w = ctx.chart_width();
  const double top = util::nan_min(util::nan_min(ye, ys), yt);
  const double bottom = util::nan_max(util::nan_max(ye, ys), yt);
  return box_text_anchor(data, {x0, top, w, bottom});
}

}  // namespace qc::primitives::catalog
