// Date range: a bar interval marked as a band over the whole chart height with its length in bars.
#pragma once

#include <array>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class DateRange final : public PrimitiveBase<DateRange> {
 public:
  static constexpr BuiltinType kType = BuiltinType::date_range;
  static constexpr double kDefaultWidth = 2.0;

  double bar1 = 0.0;
  double bar2 = 20.0;
  double price = 100.0;  // the height of the caption
  bool show_bars = true;
  bool show_time = true;  // stored and written; nothing reads it

  // The second anchor carries only bar2; its price is the caption's price.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<DateRange>{&DateRange::bar1, &DateRange::price},
                      AnchorField<DateRange>{&DateRange::bar2, nullptr}};
  }
  std::vector<Point> points() const override { return {{bar1, price}, {bar2, price}}; }

  // A lone anchor measures 20 bars to the right.
  void place(std::span<const Point> points);

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar1", bar1);
    json_entry(w, "bar2", bar2);
    json_entry(w, "price", price);
    json_entry(w, "show_bars", show_bars);
    json_entry(w, "show_time", show_time);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
