// Anchored VWAP: the volume-weighted average price of the bars from the anchor bar on, with a dot where it
// starts and two faint bands. The anchor's price is kept and written but not drawn.
#pragma once

#include <array>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class AnchoredVwap final : public PrimitiveBase<AnchoredVwap> {
 public:
  static constexpr BuiltinType kType = BuiltinType::anchored_vwap;
  static constexpr double kDefaultWidth = 2.0;

  double anchor_bar = 0.0;
  double anchor_price = 100.0;
  bool show_bands = true;
  double band_multiplier = 2.0;  // the bands lie this many volume-weighted deviations away

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<AnchoredVwap>{&AnchoredVwap::anchor_bar, &AnchoredVwap::anchor_price}};
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "anchor_bar", anchor_bar);
    json_entry(w, "anchor_price", anchor_price);
    json_entry(w, "show_bands", show_bands);
    json_entry(w, "band_multiplier", band_multiplier);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
