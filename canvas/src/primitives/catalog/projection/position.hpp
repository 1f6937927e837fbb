// The trade-plan record long and short positions share: an entry at a bar, a stop and a target price,
// drawn as red and green zones and three lines from the entry bar to the right edge, with the outcome of
// each and the reward to risk written in the zones.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

struct PositionPlan {
  double bar, entry_price, stop_loss, take_profit;
  bool show_pnl;
};

void draw_position(RenderContext& ctx, const PrimitiveData& data, const PositionPlan& plan);
std::optional<TextAnchor> position_text_anchor(const PrimitiveData& data, const RenderContext& ctx,
                                               const PositionPlan& plan);

// Derived names its catalogue row and its side: kStopOffset and kTargetOffset, the price distances of
// the factory's stop and target from the entry when the caller gives no second or third point.
template <class Derived>
class PositionTool : public PrimitiveBase<Derived> {
 public:
  static constexpr double kDefaultWidth = 1.0;

  double bar = 0.0;
  double entry_price = 100.0;
  double stop_loss = 0.0;  // the factory places both from the entry
  double take_profit = 0.0;
  double quantity = 1.0;  // stored and written, not drawn
  bool show_pnl = true;

  // The stop and target have only prices: their points stand on the entry bar, and their bars are ignored.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Derived>{&Derived::bar, &Derived::entry_price},
                      AnchorField<Derived>{nullptr, &Derived::stop_loss},
                      AnchorField<Derived>{nullptr, &Derived::take_profit}};
  }

  // The caller's points are [entry, stop, target]; a missing stop or target is placed from the entry.
  void place(std::span<const Point> points) {
    const Point entry = point_or(points, 0, {bar, entry_price});
    const Point defaults[] = {entry, {entry.bar, entry.price + Derived::kStopOffset},
                              {entry.bar, entry.price + Derived::kTargetOffset}};
    this->set_points(defaults);
    if (points.size() > 1) this->set_points(points);
  }

  std::vector<Point> points() const override {
    return {{bar, entry_price}, {bar, stop_loss}, {bar, take_profit}};
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "entry_price", entry_price);
    json_entry(w, "stop_loss", stop_loss);
    json_entry(w, "take_profit", take_profit);
    json_entry(w, "quantity", quantity);
    json_entry(w, "show_pnl", show_pnl);
  }

  void render(RenderContext& ctx, bool) const override { draw_position(ctx, this->data_, plan()); }
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override {
    return position_text_anchor(this->data_, ctx, plan());
  }

 private:
  PositionPlan plan() const noexcept { return {bar, entry_price, stop_loss, take_profit, show_pnl}; }
};

}  // namespace qc::primitives::catalog
