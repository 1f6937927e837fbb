// Price range: a price interval marked as a band across the whole chart with its change as a caption.
#pragma once

#include <array>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class PriceRange final : public PrimitiveBase<PriceRange> {
 public:
  static constexpr BuiltinType kType = BuiltinType::price_range;
  static constexpr double kDefaultWidth = 2.0;

  double bar = 0.0;  // where the caption stands
  double price1 = 100.0;
  double price2 = 110.0;
  bool show_percentage = true;
  bool show_pips = true;

  // The second anchor carries only price2; its bar is the caption's bar.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<PriceRange>{&PriceRange::bar, &PriceRange::price1},
                      AnchorField<PriceRange>{nullptr, &PriceRange::price2}};
  }
  std::vector<Point> points() const override { return {{bar, price1}, {bar, price2}}; }

  // A lone anchor measures 10 price units upwards.
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price1", price1);
    json_entry(w, "price2", price2);
    json_entry(w, "show_percentage", show_percentage);
    json_entry(w, "show_pips", show_pips);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
