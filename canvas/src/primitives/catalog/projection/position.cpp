// Position drawing: fixed red and green zones and lines, and the plan's profit and loss written in the
// record's colour.
#include "primitives/catalog/projection/position.hpp"

#include <cmath>
#include <string>

#include "primitives/catalog/common/caption_numbers.hpp"
#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/measurement/band.hpp"
#include "util/fixed.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {
namespace {

// "Target 3012.50 (+4.78%)": the name, the price and its change from the entry, a rise with its "+".
void write_outcome(std::string& out, std::string_view name, double entry, double price) {
  out.assign(name);
  out += ' ';
  append_caption_price(out, price);
  out += " (";
  const std::size_t sign_at = out.size();
  append_percent_change(out, entry, price);
  if (price > entry && !util::fixed_reads_zero(out.data() + sign_at, out.data() + out.size() - 1)) {
    out.insert(sign_at, 1, '+');
  }
  out += ')';
}

// The outcome texts in their boxes, at the box's left + 4 px (or ending 4 px inside the plot) and its middle
// height, as captions, and the reward to
// risk under the target's text when there is a risk to weigh it against.
void write_pnl(RenderContext& ctx, const PrimitiveData& data, const PositionPlan& plan, double left, double ye,
               double ys, double yt) {
  constexpr double kSize = 10.0;
  const double x = left + 4.0;
  const std::string_view color = data.color.stroke;
  ctx.set_font("10px sans-serif");
  std::string text;
  write_outcome(text, "Target", plan.entry_price, plan.take_profit);
  const double target_middle = (ye + yt) * 0.5;
  fill_caption(ctx, text, color, x, target_middle, kSize);
  write_outcome(text, "Stop", plan.entry_price, plan.stop_loss);
  fill_caption(ctx, text, color, x, (ye + ys) * 0.5, kSize);
  const double risk = std::abs(plan.entry_price - plan.stop_loss);
  if (!(risk > 0.0)) return;
  text.assign("R:R ");
  util::append_fixed2(text, std::abs(plan.take_profit - plan.entry_price) / risk);
  fill_caption(ctx, text, color, x, target_middle + 14.0, kSize);
}

}  // namespace

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
  if (plan.show_pnl) write_pnl(ctx, data, plan, xs, ye, ys, yt);
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
