// Forecast: the line through two points carried on to the chart's right edge.
#pragma once

#include <optional>
#include <span>

#include "primitives/catalog/common/two_point.hpp"

namespace qc::primitives::catalog {

class Forecast final : public TwoPoint<Forecast> {
 public:
  static constexpr BuiltinType kType = BuiltinType::forecast;
  static constexpr double kDefaultWidth = 2.0;

  bool show_percentage = true;  // stored and written; nothing is drawn for it
  bool show_price = true;       // stored and written; nothing is drawn for it

  // Without points P1 is (0, 100); a missing P2 lies 20 bars ahead and 10 price units up.
  void place(std::span<const Point> points) { place_two(points, {0.0, 100.0}, {20.0, 10.0}); }

  void write_fields(JsonWriter& w) const {
    write_anchor_fields(w);
    json_entry(w, "show_percentage", show_percentage);
    json_entry(w, "show_price", show_price);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
