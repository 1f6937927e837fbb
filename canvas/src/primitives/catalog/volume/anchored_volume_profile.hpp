// Anchored volume profile: a full-height line at its anchor bar and, to its right, the volume profile of
// the bars from the anchor to the last. Its second point, when given, stays unused.
#pragma once

#include <array>
#include <cstdint>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class AnchoredVolumeProfile final : public PrimitiveBase<AnchoredVolumeProfile> {
 public:
  static constexpr BuiltinType kType = BuiltinType::anchored_volume_profile;
  static constexpr double kDefaultWidth = 1.0;

  double anchor_bar = 0.0;
  std::uint16_t rows = 24;  // price bands the profile splits the bars' range into
  bool show_poc = true;

  // The anchor has a bar only.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<AnchoredVolumeProfile>{&AnchoredVolumeProfile::anchor_bar, nullptr}};
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "anchor_bar", anchor_bar);
    json_entry(w, "rows", rows);
    json_entry(w, "show_poc", show_poc);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
