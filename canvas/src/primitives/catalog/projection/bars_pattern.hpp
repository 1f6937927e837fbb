// Bars pattern: a source range of bars and a target range of the same pixel width, marked by full-height
// lines and joined by two dashed connectors.
#pragma once

#include <array>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class BarsPattern final : public PrimitiveBase<BarsPattern> {
 public:
  static constexpr BuiltinType kType = BuiltinType::bars_pattern;
  static constexpr double kDefaultWidth = 1.0;

  double source_bar1 = 0.0;
  double source_bar2 = 20.0;
  double target_bar = 30.0;   // first bar of the target range
  double price_offset = 0.0;  // moves with translate; nothing is drawn from it
  bool mirror = false;        // stored and written; nothing is drawn for it

  // Bars only: each given point contributes its bar.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<BarsPattern>{&BarsPattern::source_bar1, nullptr},
                      AnchorField<BarsPattern>{&BarsPattern::source_bar2, nullptr},
                      AnchorField<BarsPattern>{&BarsPattern::target_bar, nullptr}};
  }

  // Missing bars follow the ones before: the source spans 20 bars and the target starts 10 bars later.
  void place(std::span<const Point> points);

  void translate(double d_bar, double d_price) override {
    PrimitiveBase::translate(d_bar, d_price);
    price_offset += d_price;
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "source_bar1", source_bar1);
    json_entry(w, "source_bar2", source_bar2);
    json_entry(w, "target_bar", target_bar);
    json_entry(w, "price_offset", price_offset);
    json_entry(w, "mirror", mirror);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
