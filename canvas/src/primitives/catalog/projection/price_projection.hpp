// Price projection: the price move P1 to P2 repeated from a third point P3.
#pragma once

#include <array>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class PriceProjection final : public PrimitiveBase<PriceProjection> {
 public:
  static constexpr BuiltinType kType = BuiltinType::price_projection;
  static constexpr double kDefaultWidth = 2.0;

  double bar1 = 0.0;
  double price1 = 100.0;
  double bar2 = 10.0;
  double price2 = 105.0;
  double bar3 = 20.0;  // where the projection starts
  double price3 = 110.0;
  bool show_percentage = true;  // stored and written; nothing is drawn for it

  static constexpr auto anchor_fields() {
    using F = AnchorField<PriceProjection>;
    return std::array{F{&PriceProjection::bar1, &PriceProjection::price1},
                      F{&PriceProjection::bar2, &PriceProjection::price2},
                      F{&PriceProjection::bar3, &PriceProjection::price3}};
  }

  // Each missing point lies 10 bars and 5 price units beyond the one before.
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar1", bar1);
    json_entry(w, "price1", price1);
    json_entry(w, "bar2", bar2);
    json_entry(w, "price2", price2);
    json_entry(w, "bar3", bar3);
    json_entry(w, "price3", price3);
    json_entry(w, "show_percentage", show_percentage);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
