// Fib retracement geometry: bands under level lines between the anchors' x range (or the chart edges), and
// each level's label at its left end.
#include "primitives/catalog/fibonacci/retracement.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "primitives/catalog/common/drawing.hpp"
#include "primitives/catalog/common/labels.hpp"
#include "primitives/catalog/common/level_lines.hpp"
#include "primitives/catalog/fibonacci/geometry.hpp"
#include "primitives/catalog/fibonacci/level_labels.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {

std::vector<FibLevelConfig> FibRetracement::default_levels() {
  constexpr double kRatios[] = {0.0, 0.236, 0.382, 0.5, 0.618, 0.786, 1.0};
  std::vector<FibLevelConfig> out;
  out.reserve(std::size(kRatios));
  for (double r : kRatios) out.push_back(FibLevelConfig::make(r));
  return out;
}

void FibRetracement::write_fields(JsonWriter& w) const {
  write_anchor_fields(w);
  json_entry(w, "level_configs", levels);
  json_entry(w, "show_prices", show_prices);
  json_entry(w, "show_percentages", show_percentages);
  json_entry(w, "extend_left", extend_left);
  json_entry(w, "extend_right", extend_right);
  json_entry(w, "show_fill", show_fill);
  json_entry(w, "fill_opacity", fill_opacity);
}

void FibRetracement::render(RenderContext& ctx, bool) const {
  const PixelSnap snap{ctx.dpr()};
  const double x1 = ctx.bar_to_x(bar1);
  const double x2 = ctx.bar_to_x(bar2);
  const double left = extend_left ? 0.0 : util::nan_min(x1, x2);
  const double right = extend_right ? ctx.chart_width() : util::nan_max(x1, x2);

  struct Visible {
    const FibLevelConfig* level;
    double y;
  };
  std::vector<Visible> visible;
  visible.reserve(levels.size());
  for (const FibLevelConfig& level : levels) {
    if (level.visible) visible.push_back({&level, ctx.price_to_y(price1 + level.level * (price2 - price1))});
  }

  if (visible.size() >= 2) {
    // Bands pair neighbouring ratios, so they need the visible levels in ratio order; a level whose ratio
    // is not a number has no place in that order and neither opens nor closes a band.
    std::vector<Visible> by_ratio;
    by_ratio.reserve(visible.size());
    std::copy_if(visible.begin(), visible.end(), std::back_inserter(by_ratio),
                 [](const Visible& v) { return !std::isnan(v.level->level); });
    std::stable_sort(by_ratio.begin(), by_ratio.end(),
                     [](const Visible& a, const Visible& b) { return a.level->level < b.level->level; });
    for (std::size_t i = 0; i + 1 < by_ratio.size(); ++i) {
      const FibLevelConfig& lower = *by_ratio[i].level;
      if (!lower.fill_enabled) continue;
      const std::string& color = lower.fill_color ? *lower.fill_color : lower.color ? *lower.color : data_.color.stroke;
      const double ya = by_ratio[i].y;
      const double yb = by_ratio[i + 1].y;
      ctx.set_fill_color_alpha(color, lower.fill_opacity);
      ctx.begin_path();
      ctx.move_to(left, ya);
      ctx.line_to(right, ya);
      ctx.line_to(right, yb);
      ctx.line_to(left, yb);
      ctx.close_path();
      ctx.fill();
      ctx.reset_alpha();
    }
  }

  // Lines after every band, so that they lie on top.
  for (const Visible& v : visible) {
    set_level_stroke(ctx, *v.level, data_, {});
    stroke_segment(ctx, snap(left), snap(v.y), snap(right), snap(v.y));
  }

  // The trend keeps the colour and width of the last level line.
  ctx.set_line_dash({});
  ctx.set_line_dash(fibonacci::kGuideDash);
  stroke_segment(ctx, snap(x1), snap(ctx.price_to_y(price1)), snap(x2), snap(ctx.price_to_y(price2)));
  ctx.set_line_dash({});

  // The labels over everything: a band or line drawn later would cross them.
  std::string label;
  for (const Visible& v : visible) {
    const double ratio = v.level->level;
    fibonacci::write_level_label(label, ratio, price1 + ratio * (price2 - price1), {show_percentages, show_prices});
    fibonacci::draw_level_label(ctx, label, v.level->color ? *v.level->color : data_.color.stroke, left, v.y);
  }
}

// At the anchors' left end, middle or right end; above the upper anchor, between them, or below the lower.
std::optional<TextAnchor> FibRetracement::text_anchor(const RenderContext& ctx) const {
  const PrimitiveText* text = label_text(data_);
  if (text == nullptr) return std::nullopt;
  const double x1 = ctx.bar_to_x(bar1);
  const double x2 = ctx.bar_to_x(bar2);
  const double y1 = ctx.price_to_y(price1);
  const double y2 = ctx.price_to_y(price2);
  const double x = pick(text->h_align, util::nan_min(x1, x2), (x1 + x2) / 2, util::nan_max(x1, x2));
  const double y = pick(text->v_align, util::nan_min(y1, y2) - 8.0, (y1 + y2) / 2,
                        util::nan_max(y1, y2) + 8.0 + text->font_size);
  return TextAnchor::make(data_.color.stroke, x, y);
}

std::unique_ptr<Primitive> create_fib_retracement(std::span<const Point> points, std::string_view color) {
  return FibRetracement::create(points, color);
}

}  // namespace qc::primitives::catalog
