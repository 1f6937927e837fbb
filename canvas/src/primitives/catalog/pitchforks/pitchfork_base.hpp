// PitchforkBase: the record, factory, anchors and drawing the four pitchfork tools share; each tool names
// where its median starts and how its tines fall back to a dash.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "primitives/catalog/common/inset_line_label.hpp"
#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/pitchforks/tines.hpp"

namespace qc::primitives::catalog {

// Ratios of the default tines: the outer ones through the swing points, the inner halves and the median.
inline constexpr std::array<double, 5> kPitchforkRatios = {-1.0, -0.5, 0.0, 0.5, 1.0};

template <class Derived>
class PitchforkBase : public PrimitiveBase<Derived> {
 public:
  static constexpr double kDefaultWidth = 1.0;

  double bar1 = 0.0;  // P1: the pivot the median starts from (or near)
  double price1 = 0.0;
  double bar2 = 0.0;  // P2 and P3: the swing points
  double price2 = 0.0;
  double bar3 = 0.0;
  double price3 = 0.0;
  std::vector<FibLevelConfig> levels = default_levels();
  bool extend = true;
  bool show_labels = true;  // stored and written; nothing is drawn for it

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Derived>{&Derived::bar1, &Derived::price1},
                      AnchorField<Derived>{&Derived::bar2, &Derived::price2},
                      AnchorField<Derived>{&Derived::bar3, &Derived::price3}};
  }

  // Missing swing points sit 10 bars right of P1, 10 above and 10 below it.
  void place(std::span<const Point> points) {
    const Point p1 = point_or(points, 0, {});
    const Point p2 = point_or(points, 1, {p1.bar + 10.0, p1.price + 10.0});
    const Point p3 = point_or(points, 2, {p1.bar + 10.0, p1.price - 10.0});
    const Point anchors[] = {p1, p2, p3};
    this->set_points(anchors);
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar1", bar1);
    json_entry(w, "price1", price1);
    json_entry(w, "bar2", bar2);
    json_entry(w, "price2", price2);
    json_entry(w, "bar3", bar3);
    json_entry(w, "price3", price3);
    json_entry(w, "level_configs", levels);
    json_entry(w, "extend", extend);
    json_entry(w, "show_labels", show_labels);
  }

  // The midpoint of the swing points, in chart units: where the median ends.
  Point median_end() const noexcept { return {(bar2 + bar3) / 2, (price2 + price3) / 2}; }

 protected:
  // The tines of a fork whose median starts at `handle`, one unit of ratio being the half of P2 to P3.
  void draw_from(RenderContext& ctx, Point handle, TineDashFallback fallback) const {
    const Point m = median_end();
    draw(ctx, handle, {m.bar + (bar3 - bar2) / 2, m.price + (price3 - price2) / 2}, 1.0, fallback);
  }

  // The label along the median from `handle` to M.
  std::optional<TextAnchor> median_text_anchor(const RenderContext& ctx, Point handle) const {
    const Point m = median_end();
    const double hx = ctx.bar_to_x(handle.bar);
    const double hy = ctx.price_to_y(handle.price);
    return inset_line_text_anchor(this->data_, hx, hy, ctx.bar_to_x(m.bar), ctx.price_to_y(m.price));
  }

  static std::vector<FibLevelConfig> default_levels() {
    std::vector<FibLevelConfig> out;
    out.reserve(kPitchforkRatios.size());
    for (double ratio : kPitchforkRatios) out.push_back(FibLevelConfig::make(ratio));
    return out;
  }

  // The median from `handle` to M with one unit of ratio the pixel shift from M to `unit_end`, drawn as
  // tines; `sign` turns the shift round for a unit end on the P2 side.
  void draw(RenderContext& ctx, Point handle, Point unit_end, double sign, TineDashFallback fallback) const {
    const Point m = median_end();
    const double hx = ctx.bar_to_x(handle.bar);
    const double hy = ctx.price_to_y(handle.price);
    const double mx = ctx.bar_to_x(m.bar);
    const double my = ctx.price_to_y(m.price);
    const double ux = ctx.bar_to_x(unit_end.bar);
    const double uy = ctx.price_to_y(unit_end.price);
    const TineFrame frame{hx, hy, mx, my, sign * (ux - mx), sign * (uy - my)};
    draw_tines(ctx, this->data_, levels, frame, extend, fallback);
  }
};

}  // namespace qc::primitives::catalog
