// Fixed volume profile: two bar boundaries and the volume profile of the bars between them.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class FixedVolumeProfile final : public PrimitiveBase<FixedVolumeProfile> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fixed_volume_profile;
  static constexpr double kDefaultWidth = 1.0;

  double bar1 = 0.0;
  double bar2 = 50.0;
  std::uint16_t rows = 24;  // price bands the profile splits the bars' range into
  bool show_poc = true;
  bool show_value_area = true;

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<FixedVolumeProfile>{&FixedVolumeProfile::bar1, nullptr},
                      AnchorField<FixedVolumeProfile>{&FixedVolumeProfile::bar2, nullptr}};
  }
  // Without a second point the profile spans 50 bars.
  void place(std::span<const Point> points) {
    const Point first = point_or(points, 0, {bar1, 0.0});
    const Point both[] = {first, point_or(points, 1, {first.bar + 50.0, 0.0})};
    set_points(both);
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar1", bar1);
    json_entry(w, "bar2", bar2);
    json_entry(w, "rows", rows);
    json_entry(w, "show_poc", show_poc);
    json_entry(w, "show_value_area", show_value_area);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
