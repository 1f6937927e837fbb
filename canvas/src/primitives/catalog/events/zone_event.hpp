// Zone event: a horizontal price zone between two bars (supply, demand, order block ...), shaded by its
// life-cycle state, with a badge counting how often it was tested.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/events/markers.hpp"

namespace qc::primitives::catalog {

enum class ZoneType : std::uint8_t {
  Supply, Demand, OrderBlock, FairValueGap, LiquidityPool, BreakerBlock, MitigationBlock,
  VolumePoc, VolumeVah, VolumeVal, Custom,
};
enum class ZoneAction : std::uint8_t { Created, Tested, Broken, Mitigated, Active };

constexpr std::string_view json_name(ZoneType v) noexcept {
  return variant_name(v, std::array<std::string_view, 11>{"supply", "demand", "order_block", "fair_value_gap",
                                                          "liquidity_pool", "breaker_block", "mitigation_block",
                                                          "volume_po_c", "volume_v_a_h", "volume_v_a_l", "custom"});
}
constexpr std::string_view json_name(ZoneAction v) noexcept {
  return variant_name(v, std::array<std::string_view, 5>{"created", "tested", "broken", "mitigated", "active"});
}

class ZoneEvent final : public PrimitiveBase<ZoneEvent> {
 public:
  static constexpr BuiltinType kType = BuiltinType::zone_event;
  static constexpr double kDefaultWidth = 1.0;
  static constexpr std::string_view kInstanceName = "Supply Zone";

  double bar1 = 0.0;
  double bar2 = 0.0;
  double price_high = 0.0;  // the first edge's price, the top one when it is the higher
  double price_low = 0.0;
  ZoneType zone_type = ZoneType::Supply;  // not drawn
  ZoneAction action = ZoneAction::Active;
  double strength = 1.0;  // multiplies the zone's opacity
  std::uint32_t test_count = 0;

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<ZoneEvent>{&ZoneEvent::bar1, &ZoneEvent::price_high},
                      AnchorField<ZoneEvent>{&ZoneEvent::bar2, &ZoneEvent::price_low}};
  }

  void place(std::span<const Point> points) {
    const Point a = point_or(points, 0, {0.0, 100.0});
    const Point b = point_or(points, 1, {a.bar + 10.0, a.price - 10.0});
    bar1 = a.bar;
    price_high = a.price;
    bar2 = b.bar;
    price_low = b.price;
  }
  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar1", bar1);
    json_entry(w, "bar2", bar2);
    json_entry(w, "price_high", price_high);
    json_entry(w, "price_low", price_low);
    json_entry(w, "zone_type", zone_type);
    json_entry(w, "action", action);
    json_entry(w, "strength", strength);
    json_entry(w, "test_count", test_count);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
