// Fib time zones: vertical lines at a start bar and at Fibonacci numbers of bars after it.
#pragma once

#include <array>
#include <cstdint>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class FibTimeZones final : public PrimitiveBase<FibTimeZones> {
 public:
  static constexpr BuiltinType kType = BuiltinType::fib_time_zones;
  static constexpr double kDefaultWidth = 1.0;

  // Bars from the start line to each zone line; zone_count takes at most this many.
  static constexpr std::array<double, 12> kZoneOffsets{1, 2, 3, 5, 8, 13, 21, 34, 55, 89, 144, 233};

  double start_bar = 0.0;
  double start_price = 0.0;  // carried with the anchor; only the bar is drawn
  std::uint32_t zone_count = 12;
  bool show_labels = true;  // stored and written; nothing is drawn for it

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<FibTimeZones>{&FibTimeZones::start_bar, &FibTimeZones::start_price}};
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "start_bar", start_bar);
    json_entry(w, "start_price", start_price);
    json_entry(w, "zone_count", zone_count);
    json_entry(w, "show_labels", show_labels);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
