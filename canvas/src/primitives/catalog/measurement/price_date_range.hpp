// Price/date range: the rectangle between two corners, outlined and filled, with its price and bar spans.
#pragma once

#include <span>

#include "primitives/catalog/common/two_point.hpp"

namespace qc::primitives::catalog {

class PriceDateRange final : public TwoPoint<PriceDateRange> {
 public:
  static constexpr BuiltinType kType = BuiltinType::price_date_range;
  static constexpr double kDefaultWidth = 2.0;

  bool show_percentage = true;
  bool show_bars = true;
  bool show_pips = true;

  // Without points the first corner is (0, 100); a lone corner spans 20 bars to the right and 10 price
  // units up.
  void place(std::span<const Point> points) { place_two(points, {0.0, 100.0}, {20.0, 10.0}); }

  void write_fields(JsonWriter& w) const {
    write_anchor_fields(w);
    json_entry(w, "show_percentage", show_percentage);
    json_entry(w, "show_bars", show_bars);
    json_entry(w, "show_pips", show_pips);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
